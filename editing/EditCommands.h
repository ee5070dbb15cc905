#pragma once

#include <QObject>

class MessageService;
class RichTextBox;
class UndoSnapshot;

/// Cut, Copy, Paste, Delete and Select All on the editor's selection.
///
/// The clipboard carries the selection's RTF markup as plain text, so formatting travels
/// from one place in the program to another, and the selection as RTF and HTML for other
/// programs (ClipboardFormats). A paste that held what the editor cannot keep says so.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    EditCommands(RichTextBox& editor, UndoSnapshot& undo, MessageService& messages,
                 QObject* parent = nullptr);

    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuSelectall_Click();

private:
    RichTextBox& m_editor;
    UndoSnapshot& m_undo;
    MessageService& m_messages;
};
