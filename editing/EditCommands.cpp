#include "editing/EditCommands.h"

#include "app/frmVellumo.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"

#include <QClipboard>
#include <QGuiApplication>

EditCommands::EditCommands(frmVellumo& window) : QObject(&window), m_window(window)
{
    const MainMenu& m = m_window.menu();
    MainMenu::onClick(m.mnuCut, this, [this] { mnuCut_Click(); });
    MainMenu::onClick(m.mnuCopy, this, [this] { mnuCopy_Click(); });
    MainMenu::onClick(m.mnuPaste, this, [this] { mnuPaste_Click(); });
    MainMenu::onClick(m.mnuDelete, this, [this] { mnuDelete_Click(); });
    MainMenu::onClick(m.mnuSelectall, this, [this] { mnuSelectall_Click(); });
    // The right-click menu offers the Edit menu's own entries, so it shares their states.
    m_window.txtFile()->setContextActions({m.mnuUndo, m.mnuSep3, m.mnuCut, m.mnuCopy, m.mnuPaste,
                                           m.mnuDelete, m.mnuSep5, m.mnuSelectall});
}

// The clipboard steps below are skipped when there is no clipboard to reach: a failing
// step never stops the command or shows a message.

void EditCommands::mnuCopy_Click()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(m_window.txtFile()->SelRTF());
    }
}

void EditCommands::mnuCut_Click()
{
    mnuCopy_Click();
    m_window.txtFile()->setSelText(QString());
    m_window.undo()->changeundo();
}

void EditCommands::mnuPaste_Click()
{
    if (const QClipboard* clipboard = QGuiApplication::clipboard())
        m_window.txtFile()->setSelRTF(clipboard->text());
    m_window.undo()->changeundo();
}

void EditCommands::mnuDelete_Click()
{
    m_window.txtFile()->setSelRTF(QString());
    m_window.undo()->changeundo();
}

void EditCommands::mnuSelectall_Click()
{
    RichTextBox* txt = m_window.txtFile();
    txt->setSelStart(0);
    txt->setSelLength(txt->Text().size());
}
