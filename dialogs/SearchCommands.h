#pragma once

#include <QObject>
#include <QPointer>

class MessageService;
class QWidget;
class RichTextBox;
class frmFind;
class frmGoto;

/// Go To Line and Find and Replace: the dialogs and the menu entries that show them.
///
/// Each dialog is a single instance, loaded at its first showing and unloaded when the user
/// closes it from its frame. While one is shown the owner, the main window, is disabled.
class SearchCommands : public QObject
{
    Q_OBJECT

public:
    SearchCommands(QWidget& owner, RichTextBox& editor, MessageService& messages,
                   QObject* parent = nullptr);
    ~SearchCommands() override;

    void mnuGoto_Click();
    void mnuFind_Click();
    void mnuReplace_Click();

    /// The loaded dialogs; null until first shown and after being closed from the frame.
    frmGoto* gotoDialog() const;
    frmFind* findDialog() const;

private:
    frmGoto* loadGoto();
    frmFind* loadFind();

    QWidget& m_owner;
    RichTextBox& m_editor;
    MessageService& m_messages;
    QPointer<frmGoto> m_goto;
    QPointer<frmFind> m_find;
};
