#include "platform/ListMarkerPainter.h"

#include "formats/base/ListMarker.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>

namespace {

// A line of text laid out as Qt lays out the marker it draws before a list item.
void drawMarker(QPainter& painter, const QString& text, const QFont& font, QPaintDevice* device,
                QPointF at)
{
    QTextLayout layout(text, font, device);
    layout.setTextOption(QTextOption(Qt::AlignLeft | Qt::AlignAbsolute));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLeadingIncluded(true);
    layout.endLayout();
    layout.draw(&painter, at);
}

} // namespace

// Qt draws a number right-aligned a space before the item's first line, in the paragraph mark's
// font; the same place is covered and written again.
void ListMarkerPainter::paint(QPainter& painter, const QTextDocument& document, const QRectF& clip,
                              const QBrush& background, const QBrush& text)
{
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    const int from = layout->hitTest(clip.topLeft(), Qt::FuzzyHit);
    for (QTextBlock block = document.findBlock(std::max(from, 0)); block.isValid();
         block = block.next()) {
        const QTextLayout* lines = block.layout();
        if (lines->position().y() > clip.bottom())
            break;
        const QTextList* list = block.textList();
        // Blocks of tables and frames are laid out from their frame's corner.
        if (!list || lines->lineCount() == 0 || !ListMarker::differsFromQt(list->format()) ||
            block.textDirection() == Qt::RightToLeft ||
            QTextCursor(block).currentFrame() != document.rootFrame())
            continue;
        const QTextCharFormat format = QTextCursor(block).charFormat();
        QFont font = format.font();
        if (layout->paintDevice())
            font = QFont(font, layout->paintDevice());
        const QFontMetrics metrics(font);
        const QPointF start =
            lines->position().toPoint() + lines->lineAt(0).naturalTextRect().topLeft().toPoint();
        const qreal right = start.x() - metrics.horizontalAdvance(u' ');
        const QString marker = ListMarker::text(block, *list);
        // Ours may be wider than Qt's, as "1.1." is, and Qt's need not end where ours does.
        const qreal cover = std::max(metrics.horizontalAdvance(list->itemText(block)),
                                     metrics.horizontalAdvance(marker));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF(right - cover - 1, start.y(), cover + 2, metrics.height()),
                         background);
        const QBrush foreground = format.foreground();
        painter.setPen(QPen(foreground.style() != Qt::NoBrush ? foreground : text, 0));
        drawMarker(painter, marker, font, layout->paintDevice(),
                   QPointF(right - metrics.horizontalAdvance(marker), start.y()));
        painter.restore();
    }
}
