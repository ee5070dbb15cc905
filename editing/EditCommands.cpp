#include "editing/EditCommands.h"

#include "editing/ClipboardFormats.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextDocumentFragment>

EditCommands::EditCommands(RichTextBox& editor, UndoSnapshot& undo, QObject* parent)
    : QObject(parent), m_editor(editor), m_undo(undo)
{
}

// The clipboard steps below are skipped when there is no clipboard to reach: a failing
// step never stops the command or shows a message.

void EditCommands::mnuCopy_Click()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setMimeData(ClipboardFormats::forCopy(m_editor.SelRTF(),
                                                         m_editor.textCursor().selection(),
                                                         m_editor.document()->defaultFont()));
    }
}

void EditCommands::mnuCut_Click()
{
    mnuCopy_Click();
    m_editor.setSelText(QString());
    m_undo.changeundo();
}

void EditCommands::mnuPaste_Click()
{
    if (const QClipboard* clipboard = QGuiApplication::clipboard())
        m_editor.setSelRTF(
            ClipboardFormats::forPaste(clipboard->mimeData(), m_editor.document()->defaultFont()));
    m_undo.changeundo();
}

void EditCommands::mnuDelete_Click()
{
    m_editor.setSelRTF(QString());
    m_undo.changeundo();
}

void EditCommands::mnuSelectall_Click()
{
    m_editor.setSelStart(0);
    m_editor.setSelLength(m_editor.Text().size());
}
