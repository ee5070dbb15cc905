#pragma once

#include <QObject>

class DocumentList;
class RichTextBox;

/// The one-step undo: the current document's last two recorded states.
class UndoSnapshot : public QObject
{
    Q_OBJECT

public:
    UndoSnapshot(RichTextBox& editor, DocumentList& documents, QObject* parent = nullptr);

    /// Records a snapshot when the editor's content differs from the latest recorded state.
    void changeundo();
    /// Swaps the editor's content with the state recorded before the latest one.
    void mnuUndo_Click();
    void txtFile_KeyUp();

signals:
    /// A state of the current document was recorded.
    void recorded();
    /// Undo brings back the state recorded before the latest: between the two the editor may
    /// show a text read again from that state in place of the document's own.
    void undoStarts();
    void undoEnds();

private:
    RichTextBox& m_editor;
    DocumentList& m_documents;
};
