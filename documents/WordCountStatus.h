#pragma once

#include <QObject>

class DocumentStatistics;
class QLabel;

/// The status bar's word count: the document's words and characters, or, while something is
/// selected, the selection's words of the whole; then what became of its seed text, if any.
class WordCountStatus : public QObject
{
    Q_OBJECT

public:
    WordCountStatus(const DocumentStatistics& statistics, QLabel& label, QObject* parent = nullptr);

    /// Shows the counts the statistics hold now.
    void statistics_Changed();

private:
    const DocumentStatistics& m_statistics;
    QLabel& m_label;
};
