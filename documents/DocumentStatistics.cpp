#include "documents/DocumentStatistics.h"

#include "documents/DocumentCounts.h"
#include "platform/RichTextBox.h"

#include <QTimer>

#include <utility>

DocumentStatistics::DocumentStatistics(RichTextBox& editor, QObject* parent)
    : QObject(parent), m_editor(editor)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrStatistics"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
    connect(m_timer, &QTimer::timeout, this, &DocumentStatistics::tmrStatistics_Timer);
}

void DocumentStatistics::txtFile_Change()
{
    m_timer->start();
}

void DocumentStatistics::tmrStatistics_Timer()
{
    m_timer->stop();
    const DocumentCounts& counts = DocumentCounts::of(*m_editor.document());
    const QTextCursor selection = m_editor.textCursor();
    const WordCount document = counts.total();
    const SeedCount seed = counts.seed();
    const WordCount selected = selection.hasSelection() ? counts.range(selection.selectionStart(),
                                                                       selection.selectionEnd())
                                                        : WordCount();
    const bool first = !std::exchange(m_counted, true);
    const bool selectionChanged =
        first || selected != m_selection || selection.hasSelection() != m_hasSelection;
    const bool documentChanged = first || document != m_document || !(seed == m_seed);
    m_document = document;
    m_seed = seed;
    m_selection = selected;
    m_hasSelection = selection.hasSelection();
    if (documentChanged)
        emit documentCountChanged(m_document);
    if (selectionChanged)
        emit selectionCountChanged(m_selection);
}
