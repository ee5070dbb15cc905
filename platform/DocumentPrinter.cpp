#include "platform/DocumentPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

namespace {

/// The pixels per inch the document is laid out in when no device is given: the screen's.
qreal layoutDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

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

// The document stays in screen units and the painter scales them to the printer's: laid out
// on the printer instead, fonts would follow its resolution but pixel lengths would not.
void DocumentPrinter::print(const QTextDocument& document, QPrinter* printer)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    const qreal scale = printer->resolution() / layoutDpi();
    const QSizeF page = printer->pageLayout().paintRectPixels(printer->resolution()).size() / scale;
    const qreal margin = 2 / 2.54 * layoutDpi();
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
