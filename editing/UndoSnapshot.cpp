#include "editing/UndoSnapshot.h"

#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "platform/RichTextBox.h"

UndoSnapshot::UndoSnapshot(frmVellumo& window) : QObject(&window), m_window(window)
{
    connect(m_window.txtFile(), &RichTextBox::KeyUp, this, [this] { txtFile_KeyUp(); });
    MainMenu::onClick(m_window.menu().mnuUndo, this, [this] { mnuUndo_Click(); });
}

void UndoSnapshot::txtFile_KeyUp()
{
    changeundo();
}

// The editor serialises its content only after it changed, so a key release that changed
// nothing costs no more than comparing two shared strings.
void UndoSnapshot::changeundo()
{
    m_window.documents()->store().recordChange(m_window.txtFile()->rtfData());
}

void UndoSnapshot::mnuUndo_Click()
{
    RichTextBox* editor = m_window.txtFile();
    editor->setTextRTF(QString::fromLatin1(m_window.documents()->store().undo(editor->rtfData())));
}
