#include "spelling/TextInView.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace {

/// Where the layout put block number n in the document.
QRectF blockRect(const QTextDocument& document, int n)
{
    return document.documentLayout()->blockBoundingRect(document.findBlockByNumber(n));
}

/// The number of the first block whose bottom is below top: blocks come down the page in
/// order, but the cells of a table row each start at the row's top.
int firstBlockBelow(const QTextDocument& document, qreal top)
{
    int low = 0;
    for (int high = document.blockCount() - 1; low < high;) {
        const int middle = (low + high) / 2;
        if (blockRect(document, middle).bottom() > top)
            high = middle;
        else
            low = middle + 1;
    }
    while (low > 0 && blockRect(document, low - 1).bottom() > top)
        --low;
    return low;
}

/// The number of the last block whose top is above bottom.
int lastBlockAbove(const QTextDocument& document, qreal bottom)
{
    int high = document.blockCount() - 1;
    for (int low = 0; low < high;) {
        const int middle = (low + high + 1) / 2;
        if (blockRect(document, middle).top() < bottom)
            low = middle;
        else
            high = middle - 1;
    }
    while (high + 1 < document.blockCount() && blockRect(document, high + 1).top() < bottom)
        ++high;
    return high;
}

/// The top of the block's first line in the document.
qreal topOfLines(const QTextDocument& document, const QTextBlock& block)
{
    return blockRect(document, block.blockNumber()).top() - block.layout()->boundingRect().top();
}

} // namespace

// A hit test, as cursorForPosition() makes, reads all the characters of the paragraph it
// lands in: a tenth of a second for one as long as a book, at each check.
std::pair<int, int> TextInView::positions(const QTextEdit& editor)
{
    const QTextDocument& document = *editor.document();
    const int top = editor.verticalScrollBar()->value();
    const int bottom = top + editor.viewport()->height();
    const QTextBlock first = document.findBlockByNumber(firstBlockBelow(document, top));
    const QTextBlock last = document.findBlockByNumber(lastBlockAbove(document, bottom));
    std::pair<int, int> range{first.position(), last.position() + last.length() - 1};
    const QTextLayout& firstLines = *first.layout();
    const qreal firstTop = topOfLines(document, first);
    for (int i = 0; i < firstLines.lineCount(); ++i)
        if (const QTextLine line = firstLines.lineAt(i);
            firstTop + line.y() + line.height() > top) {
            range.first = first.position() + line.textStart();
            break;
        }
    const QTextLayout& lastLines = *last.layout();
    const qreal lastTop = topOfLines(document, last);
    for (int i = 0; i < lastLines.lineCount() && lastTop + lastLines.lineAt(i).y() < bottom; ++i)
        range.second =
            last.position() + lastLines.lineAt(i).textStart() + lastLines.lineAt(i).textLength();
    return range;
}
