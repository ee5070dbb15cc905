#include "formats/base/ListMarker.h"
#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfReader.h"
#include "platform/PrintedPages.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

namespace {

// Sixty paragraphs of several lines each; the fortieth holds a footnote's mark.
std::unique_ptr<QTextDocument> manuscript()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\fs24 ";
    for (int paragraph = 1; paragraph <= 60; ++paragraph) {
        rtf += "Paragraph " + QByteArray::number(paragraph) + ' ';
        rtf += QByteArray("words that fill a line of the page and then some more ").repeated(4);
        if (paragraph == 40)
            rtf += "{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} The note.}";
        rtf += "\\par ";
    }
    rtf += '}';
    auto document = std::make_unique<QTextDocument>();
    RtfReader().read(rtf, document.get());
    return document;
}

// Where the line holding position starts in the body's column.
qreal lineTop(const QTextDocument& body, int position)
{
    const QTextBlock block = body.findBlock(position);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    return body.documentLayout()->blockBoundingRect(block).top() + line.y();
}

int markPosition(const QTextDocument& body)
{
    for (QTextBlock block = body.begin(); block.isValid(); block = block.next())
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments)
            if (fragments.fragment().charFormat().intProperty(PageFurniture::NoteMark) == 1)
                return fragments.fragment().position();
    return -1;
}

} // namespace

/// A document breaks into pages as on paper: whole lines, room for its footnotes at the foot of
/// the page holding their marks, and a new page where a paragraph asks for one.
class PrintedPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void footnoteIsOnItsMarksPage();
    void pageBreakStartsAPage_data();
    void pageBreakStartsAPage();
    void emptyParagraphBeforeABreakMakesNoPage();
    void tableRowsAreNotSplit();
    void listMarkersTakeTheTextsSize();
    void listsThatStartAtThreePrintOnlyTheirOwnNumbers();
    void doubleSpacedPagesHoldWhatTheirFontSpacingAllows();
};

void PrintedPagesTest::footnoteIsOnItsMarksPage()
{
    const auto document = manuscript();
    const PrintedPages printed(*document);
    const QList<PrintedPages::Page>& pages = printed.pages();
    QVERIFY(pages.size() > 2);
    QVERIFY(!printed.body().toPlainText().contains(QLatin1String("The note.")));
    QVERIFY(printed.note(1).toPlainText().contains(QLatin1String("The note.")));
    const qreal mark = lineTop(printed.body(), markPosition(printed.body()));
    for (const PrintedPages::Page& page : pages) {
        const bool holdsMark = page.top <= mark && mark < page.bottom;
        QCOMPARE(page.notes, holdsMark ? QList<int>{1} : QList<int>());
        QVERIFY(page.bottom - page.top + printed.notesHeight(page) <= printed.textSize().height());
    }
}

// A break asked for before a paragraph, or after the one before it; the editor draws its line
// where PrintedPages::startsPage() says.
void PrintedPagesTest::pageBreakStartsAPage_data()
{
    QTest::addColumn<int>("breakingBlock");
    QTest::addColumn<int>("policy");
    QTest::newRow("nominal: before") << 3 << int(QTextFormat::PageBreak_AlwaysBefore);
    QTest::newRow("nominal: after the paragraph before")
        << 2 << int(QTextFormat::PageBreak_AlwaysAfter);
}

void PrintedPagesTest::pageBreakStartsAPage()
{
    QFETCH(int, breakingBlock);
    QFETCH(int, policy);
    const auto document = manuscript();
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreakFlags(policy));
    QTextCursor(document->findBlockByNumber(breakingBlock)).mergeBlockFormat(format);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        QCOMPARE(PrintedPages::startsPage(block), block.blockNumber() == 3);
    const PrintedPages printed(*document);
    const qreal top = printed.body()
                          .documentLayout()
                          ->blockBoundingRect(printed.body().findBlockByNumber(3))
                          .top();
    const PrintedPages::Page& first = printed.pages().at(0);
    const PrintedPages::Page& second = printed.pages().at(1);
    QCOMPARE(first.bottom, second.top);
    QVERIFY(second.top <= top && top < second.top + 1);
    QVERIFY(first.bottom - first.top < printed.textSize().height() / 2);
}

// Where a page break was typed at the foot of a full page, the empty paragraph it leaves behind
// stays on that page.
void PrintedPagesTest::emptyParagraphBeforeABreakMakesNoPage()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int line = 1; line <= 100; ++line)
        cursor.insertText(QStringLiteral("Line %1\n").arg(line));
    const PrintedPages before(document);
    // The first line of the second page, then an empty paragraph before it and a break on it.
    int firstOfSecond = 0;
    while (before.body()
               .documentLayout()
               ->blockBoundingRect(before.body().findBlockByNumber(firstOfSecond))
               .top() < before.pages().at(1).top)
        ++firstOfSecond;
    QTextCursor(document.findBlockByNumber(firstOfSecond)).insertBlock();
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(document.findBlockByNumber(firstOfSecond + 1)).mergeBlockFormat(format);
    const PrintedPages after(document);
    const qreal top = after.body()
                          .documentLayout()
                          ->blockBoundingRect(after.body().findBlockByNumber(firstOfSecond + 1))
                          .top();
    QVERIFY(after.pages().at(1).top <= top && top < after.pages().at(1).top + 1);
}

void PrintedPagesTest::tableRowsAreNotSplit()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable* table = cursor.insertTable(120, 2);
    for (int row = 0; row < table->rows(); ++row) {
        table->cellAt(row, 0).firstCursorPosition().insertText(QStringLiteral("row %1").arg(row));
        // The second cell is taller, so its lines do not line up with the first's.
        table->cellAt(row, 1).firstCursorPosition().insertText(
            QStringLiteral("long text that wraps ").repeated(row % 4 + 3));
    }
    const PrintedPages printed(document);
    QVERIFY(printed.pages().size() > 1);
    const QTextTable* laidOut = QTextCursor(printed.body().findBlockByNumber(1)).currentTable();
    QVERIFY(laidOut);
    QList<qreal> rowTops;
    for (int row = 0; row < laidOut->rows(); ++row)
        rowTops << printed.body()
                       .documentLayout()
                       ->blockBoundingRect(
                           printed.body().findBlock(laidOut->cellAt(row, 0).firstPosition()))
                       .top();
    for (qsizetype page = 1; page < printed.pages().size(); ++page)
        QVERIFY2(rowTops.contains(printed.pages().at(page).top),
                 qPrintable(QString::number(printed.pages().at(page).top)));
}

// Qt draws a marker in its paragraph mark's font, which a file seldom gives.
void PrintedPagesTest::listMarkersTakeTheTextsSize()
{
    QTextDocument document;
    RtfReader().read("{\\rtf1\\pard{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}"
                     "\\fi-360\\li720\\fs48 large}",
                     &document);
    QVERIFY(document.begin().textList());
    const PrintedPages printed(document);
    QCOMPARE(printed.body().begin().charFormat().fontPointSize(), 24.0);
}

// Qt's "1." would print under the painter's "3.", and stay in the printout's text.
void PrintedPagesTest::listsThatStartAtThreePrintOnlyTheirOwnNumbers()
{
    QTextDocument document;
    RtfReader().read(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext"
        "\\'02\\'00.;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1"
        "\\listoverridecount0\\ls1}}\\pard\\ls1 third\\par\\pard plain}",
        &document);
    const PrintedPages printed(document);
    const QTextBlock item = printed.body().begin();
    QVERIFY(item.textList());
    QCOMPARE(ListMarker::text(item, *item.textList()), QStringLiteral("3."));
    QCOMPARE(item.blockFormat().intProperty(QTextFormat::ListStyle),
             int(QTextListFormat::ListStyleUndefined));
    QVERIFY(!item.next().blockFormat().hasProperty(QTextFormat::ListStyle));
}

// Word processors space lines by the font's line spacing, which is what fills a page; Qt's own
// line height is rounded up to whole pixels and came out a page in six longer.
void PrintedPagesTest::doubleSpacedPagesHoldWhatTheirFontSpacingAllows()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\fs24 ";
    for (int line = 1; line <= 100; ++line)
        rtf += "\\pard\\sl480\\slmult1 Line " + QByteArray::number(line) + "\\par ";
    QTextDocument document;
    RtfReader().read(rtf + '}', &document);
    const PrintedPages printed(document);
    const QTextBlock first = printed.body().begin();
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    const qreal pitch =
        2 *
        QFontMetricsF(first.begin().fragment().charFormat().font().resolve(document.defaultFont()),
                      &device)
            .lineSpacing();
    const PrintedPages::Page& page = printed.pages().at(0);
    int lines = 0;
    for (QTextBlock block = first; block.isValid(); block = block.next())
        lines += printed.body().documentLayout()->blockBoundingRect(block).top() < page.bottom;
    QCOMPARE(lines, int(printed.textSize().height() / pitch));
}

QTEST_MAIN(PrintedPagesTest)
#include "tst_printedpages.moc"
