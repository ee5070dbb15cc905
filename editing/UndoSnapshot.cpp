#include "editing/UndoSnapshot.h"

#include "documents/DocumentStore.h"
#include "platform/RichTextBox.h"

UndoSnapshot::UndoSnapshot(RichTextBox& editor, DocumentStore& documents, QObject* parent)
    : QObject(parent), m_editor(editor), m_documents(documents)
{
}

void UndoSnapshot::txtFile_KeyUp()
{
    changeundo();
}

// The editor serialises its content only after it changed, so a key release that changed
// nothing costs no more than comparing two shared strings.
void UndoSnapshot::changeundo()
{
    m_documents.recordChange(m_editor.rtfData());
}

void UndoSnapshot::mnuUndo_Click()
{
    m_editor.setTextRTFInPlace(QString::fromLatin1(m_documents.undo(m_editor.rtfData())));
}
