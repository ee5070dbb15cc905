#include "platform/DocumentPrinter.h"

#include "formats/base/Twips.h"
#include "platform/ListMarkerPainter.h"
#include "platform/PrintedPages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace {

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

QAbstractTextDocumentLayout::PaintContext blackText(const QRectF& clip = QRectF())
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    return context;
}

void drawAt(QPainter& painter, const QTextDocument& document, QPointF at)
{
    painter.save();
    painter.translate(at);
    document.documentLayout()->draw(&painter, blackText());
    painter.restore();
}

/// Draws one page, number, in layout pixels from the paper's corner.
class PagePainter
{
public:
    PagePainter(QPainter& painter, const PrintedPages& pages) : m_painter(painter), m_pages(pages)
    {
    }

    void draw(int number)
    {
        const PrintedPages::Page& page = m_pages.pages().at(number - 1);
        drawBody(page);
        drawNotes(page);
        drawFurniture(number);
    }

private:
    QPointF textCorner() const
    {
        return QPointF(m_pages.setup().marginLeft, m_pages.setup().marginTop) / Twips::perPixel;
    }

    // Qt draws a paragraph's last line above the clip as well as those inside it, which would
    // leave lines of the page before in the file, hidden but there to copy and search. So the
    // paragraph a page starts inside is drawn here line by line, and Qt draws from the next.
    void drawBody(const PrintedPages::Page& page)
    {
        const QTextDocument& body = m_pages.body();
        const qreal width = m_pages.textSize().width();
        m_painter.save();
        m_painter.translate(textCorner() - QPointF(0, page.top));
        m_painter.setClipRect(QRectF(0, page.top, width, page.bottom - page.top));
        qreal from = page.top + 1;
        if (page.continuedBlock >= 0) {
            const QTextBlock block = body.findBlockByNumber(page.continuedBlock);
            const QTextLayout& layout = *block.layout();
            drawLines(layout, page);
            // A line set taller than its text reaches below the paragraph's bounding rectangle.
            const QTextLine last = layout.lineAt(layout.lineCount() - 1);
            from = std::max(body.documentLayout()->blockBoundingRect(block).bottom(),
                            layout.position().y() + last.y() + last.height()) +
                   1;
        }
        if (from < page.bottom - 1)
            body.documentLayout()->draw(&m_painter,
                                        blackText(QRectF(0, from, width, page.bottom - 1 - from)));
        ListMarkerPainter::paint(m_painter, body,
                                 QRectF(0, page.top, width, page.bottom - page.top), Qt::white,
                                 Qt::black);
        m_painter.restore();
    }

    void drawLines(const QTextLayout& layout, const PrintedPages::Page& page)
    {
        m_painter.setPen(Qt::black);
        for (int index = 0; index < layout.lineCount(); ++index) {
            const QTextLine line = layout.lineAt(index);
            const qreal top = layout.position().y() + line.y();
            if (top >= page.top - 0.5 && top < page.bottom - 0.5)
                line.draw(&m_painter, layout.position());
        }
    }

    void drawNotes(const PrintedPages::Page& page)
    {
        if (page.notes.isEmpty())
            return;
        const QSizeF text = m_pages.textSize();
        QPointF at = textCorner() + QPointF(0, text.height() - m_pages.notesHeight(page));
        const qreal rule = at.y() + PrintedPages::noteGap / 2;
        m_painter.setPen(QPen(Qt::black, 0.75));
        m_painter.drawLine(QPointF(at.x(), rule), QPointF(at.x() + text.width() / 3, rule));
        at.ry() += PrintedPages::noteGap;
        for (const int note : page.notes) {
            drawAt(m_painter, m_pages.note(note), at);
            at.ry() += m_pages.note(note).size().height();
        }
    }

    // A document whose headers and footers show no page number still shows it, at the right
    // of the foot of each page without a footer.
    void drawFurniture(int number)
    {
        const PageSetup& setup = m_pages.setup();
        const qreal left = setup.marginLeft / Twips::perPixel;
        if (const auto header = m_pages.story(true, number))
            drawAt(m_painter, *header,
                   QPointF(left, m_pages.furniture().headerY / Twips::perPixel));
        const qreal foot = (setup.paperHeight - m_pages.furniture().footerY) / Twips::perPixel;
        if (const auto footer = m_pages.story(false, number)) {
            drawAt(m_painter, *footer, QPointF(left, foot - footer->size().height()));
            return;
        }
        if (m_pages.numbersPages())
            return;
        // In pixels, which the painter scales as it scales the text: points would be the
        // printer's.
        QFont font = m_pages.body().defaultFont();
        font.setPixelSize(qRound(font.pointSizeF() * Twips::pixelsPerInch / 72));
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(left, 0, m_pages.textSize().width(), foot),
                           Qt::AlignRight | Qt::AlignBottom, QString::number(number));
    }

    QPainter& m_painter;
    const PrintedPages& m_pages;
};

} // namespace

// The document stays in layout pixels and the painter scales them to the printer's: laid out
// on the printer instead, fonts would follow its resolution but pixel lengths would not.
bool DocumentPrinter::print(const QTextDocument& document, QPrinter* printer)
{
    const PrintedPages pages(document);
    printer->setPageLayout(pages.setup().pageLayout());
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    const qreal scale = printer->resolution() / Twips::pixelsPerInch;
    PagePainter pagePainter(painter, pages);
    bool first = true;
    for (const int number : pagesToPrint(*printer, int(pages.pages().size()))) {
        if (!std::exchange(first, false))
            printer->newPage();
        painter.save();
        painter.scale(scale, scale);
        pagePainter.draw(number);
        painter.restore();
    }
    return painter.end();
}
