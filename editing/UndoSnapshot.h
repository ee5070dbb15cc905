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

private:
    RichTextBox& m_editor;
    DocumentList& m_documents;
};
