#include "documents/WordCountStatus.h"

#include "documents/DocumentCounts.h"
#include "platform/RichTextBox.h"

#include <QLabel>
#include <QTimer>

WordCountStatus::WordCountStatus(RichTextBox& editor, QLabel& label, QObject* parent)
    : QObject(parent), m_editor(editor), m_label(label)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrWordCount"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
}

void WordCountStatus::txtFile_Change()
{
    m_timer->start();
}

void WordCountStatus::tmrWordCount_Timer()
{
    m_timer->stop();
    const DocumentCounts& counts = DocumentCounts::of(*m_editor.document());
    const WordCount total = counts.total();
    const QTextCursor selection = m_editor.textCursor();
    m_label.setText(
        selection.hasSelection()
            ? total.describeSelection(
                  counts.range(selection.selectionStart(), selection.selectionEnd()).words)
            : total.describe());
}
