#include "platform/TextBoundary.h"

#include <QTextBoundaryFinder>

qsizetype TextBoundary::nearest(QStringView text, qsizetype position)
{
    if (position <= 0 || position >= text.size())
        return qBound<qsizetype>(0, position, text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(position);
    if (finder.isAtBoundary())
        return position;
    const qsizetype before = finder.toPreviousBoundary();
    finder.setPosition(position);
    const qsizetype after = finder.toNextBoundary();
    return position - before <= after - position ? before : after;
}
