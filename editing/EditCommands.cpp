#include "editing/EditCommands.h"

#include "editing/ClipboardFormats.h"
#include "editing/UndoSnapshot.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextDocumentFragment>

EditCommands::EditCommands(RichTextBox& editor, UndoSnapshot& undo, MessageService& messages,
                           QObject* parent)
    : QObject(parent), m_editor(editor), m_undo(undo), m_messages(messages)
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

// What was left out is told once the paste is in and recorded, so the box shows over the result.
void EditCommands::mnuPaste_Click()
{
    QStringList losses;
    if (const QClipboard* clipboard = QGuiApplication::clipboard()) {
        const ClipboardFormats::Paste paste =
            ClipboardFormats::forPaste(clipboard->mimeData(), m_editor.document()->defaultFont());
        losses = paste.losses + m_editor.setSelRTF(paste.text);
        losses.removeDuplicates();
    }
    m_undo.changeundo();
    if (!losses.isEmpty())
        m_messages.MsgBox(tr("What you pasted holds things Quillmere cannot keep: %1. The rest "
                             "was pasted; these were left out.")
                              .arg(losses.join(QLatin1String(", "))),
                          MessageService::Icon::Information);
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
