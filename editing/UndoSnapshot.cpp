#include "editing/UndoSnapshot.h"

#include "documents/DocumentList.h"
#include "platform/RichTextBox.h"

UndoSnapshot::UndoSnapshot(RichTextBox& editor, DocumentList& documents, QObject* parent)
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
    if (m_documents.current().recordChange(m_editor.rtfData(), m_editor.historyStep()))
        emit recorded();
    m_editor.sealHistory();
}

// The previous state is usually a few steps back in the document's own history: walking there
// costs what those edits cost. Where the history does not lead to it, it is read from its RTF.
void UndoSnapshot::mnuUndo_Click()
{
    emit undoStarts();
    Document& document = m_documents.current();
    const QByteArray shown = document.undo(m_editor.rtfData(), m_editor.historyStep());
    if (!m_editor.moveInHistory(document.latestStep()) || m_editor.rtfData() != shown) {
        m_editor.setTextRTFInPlace(QString::fromLatin1(shown));
        document.restartSteps(m_editor.historyStep());
    }
    m_editor.sealHistory();
    emit undoEnds();
}
