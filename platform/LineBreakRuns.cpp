#include "platform/LineBreakRuns.h"

#include "formats/base/ParagraphPieces.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

namespace {

/// Whether run, which holds no white space, has length characters with no place to break a
/// line between them. Looks at length characters at a time, from the last place found in the
/// previous look, so the time stays in proportion to the run's length.
bool breakFreeStretch(QStringView run, qsizetype length)
{
    for (qsizetype start = 0; run.size() - start >= length;) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, run.mid(start, length));
        qsizetype last = 0;
        for (qsizetype at = finder.toNextBoundary(); at > 0 && at < length;
             at = finder.toNextBoundary())
            last = at;
        if (last == 0)
            return true;
        start += last;
    }
    return false;
}

} // namespace

// A line may break after any white space, so only the stretches between white space can hold
// such a run: the line-breaking rules look at those alone.
bool LineBreakRuns::holdsLongRun(QStringView text, qsizetype length)
{
    qsizetype runStart = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !text[at].isSpace())
            continue;
        if (at - runStart >= length && breakFreeStretch(text.mid(runStart, at - runStart), length))
            return true;
        runStart = at + 1;
    }
    return false;
}

// A run the editor holds in pieces, cut where there was no space to cut at, is cut into pieces
// shorter than a long run, each of which would still take Qt the square of its length. Undo
// brings such pieces back one by one, so each is judged by itself.
bool LineBreakRuns::holdsLongRun(const QTextDocument& document, int from, int to)
{
    using ParagraphPieces::Joint;
    const QTextBlock last = to < 0 ? document.lastBlock() : document.findBlock(to);
    const bool pieces = ParagraphPieces::anyIn(document);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const bool cutRun =
            pieces && (ParagraphPieces::jointBefore(block) == Joint::Nothing ||
                       ParagraphPieces::jointBefore(block.next()) == Joint::Nothing);
        const qsizetype length = cutRun ? ParagraphPieces::pieceLength / 2 : longRun;
        if (block.length() > length && holdsLongRun(block.text(), length))
            return true;
        if (block == last)
            break;
    }
    return false;
}
