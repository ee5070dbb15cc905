#include "documents/WordCountStatus.h"

#include "documents/DocumentStatistics.h"

#include <QLabel>

WordCountStatus::WordCountStatus(const DocumentStatistics& statistics, QLabel& label,
                                 QObject* parent)
    : QObject(parent), m_statistics(statistics), m_label(label)
{
}

void WordCountStatus::statistics_Changed()
{
    const WordCount& total = m_statistics.documentCount();
    QString text = m_statistics.hasSelection()
                       ? total.describeSelection(m_statistics.selectionCount().words)
                       : total.describe();
    if (m_statistics.seedCount().present)
        text += QLatin1String("; ") + m_statistics.seedCount().describe();
    m_label.setText(text);
}
