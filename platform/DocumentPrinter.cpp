#include "platform/DocumentPrinter.h"

#include "formats/base/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

namespace {

/// A device whose pixels are the layout's, so fonts and lengths given in pixels keep their
/// proportions on paper whatever the screen's resolution.
class LayoutDevice : public QImage
{
public:
    LayoutDevice() : QImage(1, 1, QImage::Format_ARGB32)
    {
        const int dotsPerMeter = qRound(Twips::pixelsPerInch / 0.0254);
        setDotsPerMeterX(dotsPerMeter);
        setDotsPerMeterY(dotsPerMeter);
    }
};

/// The pages to print, in the order they come out.
QList<int> pagesToPrint(const QPrinter& printer, int pageCount)
{
    QList<int> pages;
    const QPageRanges ranges = printer.pageRanges();
    const bool range = printer.printRange() == QPrinter::PageRange && !ranges.isEmpty();
    for (int page = 1; page <= pageCount; ++page)
        if (!range || ranges.contains(page))
            pages << page;
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());
    return pages;
}

} // namespace

// The document stays in layout pixels and the painter scales them to the printer's: laid out
// on the printer instead, fonts would follow its resolution but pixel lengths would not.
void DocumentPrinter::print(const QTextDocument& document, QPrinter* printer)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    LayoutDevice device;
    copy->documentLayout()->setPaintDevice(&device);
    const qreal scale = printer->resolution() / Twips::pixelsPerInch;
    const QSizeF page = printer->pageLayout().paintRectPixels(printer->resolution()).size() / scale;
    const qreal margin = 2 / 2.54 * Twips::pixelsPerInch;
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(margin);
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(page);

    QPainter painter(printer);
    const QFont numberFont = copy->defaultFont();
    bool first = true;
    for (const int number : pagesToPrint(*printer, copy->pageCount())) {
        if (!std::exchange(first, false))
            printer->newPage();
        painter.save();
        painter.scale(scale, scale);
        const QRectF shown(QPointF(0, (number - 1) * page.height()), page);
        painter.translate(0, -shown.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = shown;
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(shown);
        copy->documentLayout()->draw(&painter, context);
        painter.setClipping(false);
        painter.setFont(numberFont);
        painter.drawText(
            QRectF(shown.left(), shown.bottom() - margin, shown.width() - margin, margin / 2),
            Qt::AlignRight | Qt::AlignBottom, QString::number(number));
        painter.restore();
    }
}
