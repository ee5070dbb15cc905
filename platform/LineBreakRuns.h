#pragma once

#include <QStringView>

class QTextDocument;

/// Runs of text with no place to break a line, such as a base64 blob or URLs run together.
///
/// Qt lays out such a run by looking for a place to break it all the way to the paragraph's
/// end, once for every line it fills, then breaking it anywhere: the time grows with the square
/// of the run's length, minutes for a megabyte. Laid out breaking anywhere from the start, the
/// same run takes time in proportion to its length.
class LineBreakRuns
{
public:
    /// A run this long takes Qt milliseconds to lay out word by word; a longer one, more.
    static constexpr qsizetype longRun = 10000;

    /// Whether text holds a run of at least length characters with no place to break a line.
    static bool holdsLongRun(QStringView text, qsizetype length = longRun);
    /// Whether a paragraph of document from position from to position to holds one.
    static bool holdsLongRun(const QTextDocument& document, int from = 0, int to = -1);
};
