#pragma once

#include "dialogs/EditorDialog.h"

class MessageService;
class QLineEdit;
class QPushButton;

/// The Go To Line dialog: moves the editor's caret to the start of a 1-based line.
class frmGoto : public EditorDialog
{
    Q_OBJECT

public:
    frmGoto(QWidget& owner, RichTextBox& editor, MessageService& messages);

    void cmdGotook_Click();
    void cmdGotocancel_Click();

protected:
    void Form_Unload() override;

private:
    void invalidLineNumber();

    QLineEdit* m_txtGoto;
    QPushButton* m_cmdGotook;
    QPushButton* m_cmdGotocancel;
    MessageService& m_messages;
};
