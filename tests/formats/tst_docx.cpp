#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"
#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/Progress.h"
#include "formats/base/TextProperties.h"
#include "formats/rtf/RtfDocumentWriter.h"
#include "formats/rtf/RtfReader.h"
#include "support/ZipParts.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <functional>
#include <memory>

namespace {

using Build = std::function<void(QTextDocument&, QTextCursor&)>;

QString describe(const QTextDocument& document);
QByteArray paddedForTwoThreads(const QByteArray& docx);

// What a run shows, with what the document's default fills in where it says nothing.
QString describeRun(const QTextDocument& document, const QTextFragment& fragment)
{
    const QTextCharFormat f = fragment.charFormat();
    if (f.isImageFormat()) {
        const QTextImageFormat image = f.toImageFormat();
        const QVariant data = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
        return QStringLiteral("[image %1x%2 %3]")
            .arg(image.width())
            .arg(image.height())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(data.toByteArray(), QCryptographicHash::Md5).toHex()));
    }
    const QString family =
        f.fontFamilies().toStringList().value(0, document.defaultFont().family());
    return QStringLiteral(
               "[%1|%2 %3|b%4 i%5 u%6 s%7|fg %8 bg %9|v%10|%11|note %12 page %13|%14|c%15|seed "
               "%16]")
        .arg(fragment.text(), family)
        .arg(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                       : document.defaultFont().pointSizeF())
        .arg(f.fontWeight() >= QFont::DemiBold)
        .arg(f.fontItalic())
        .arg(f.fontUnderline())
        .arg(f.fontStrikeOut())
        .arg(f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name(),
             f.background().style() == Qt::NoBrush ? QString() : f.background().color().name())
        .arg(int(f.verticalAlignment()))
        .arg(f.isAnchor() ? f.anchorHref() : QString())
        .arg(f.intProperty(PageFurniture::NoteMark))
        .arg(f.boolProperty(PageFurniture::PageNumber))
        .arg(f.stringProperty(TextProperties::HiddenText))
        .arg(int(f.fontCapitalization()))
        .arg(f.hasProperty(TextProperties::SeedRun)
                 ? QStringLiteral("%1/%2/%3")
                       .arg(f.property(TextProperties::SeedRunLength).toLongLong())
                       .arg(f.property(TextProperties::SeedRunWords).toLongLong())
                       .arg(f.property(TextProperties::SeedRunBreaks).toLongLong())
                 : QString());
}

QString describeList(const QTextList* list)
{
    if (!list)
        return {};
    const QTextListFormat f = list->format();
    return QStringLiteral(" list %1 level %2 '%3' '%4' from %5 text %6")
        .arg(int(f.style()))
        .arg(f.indent())
        .arg(f.numberPrefix(),
             f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral("."))
        .arg(f.hasProperty(TextProperties::ListStart) ? f.intProperty(TextProperties::ListStart)
                                                      : 1)
        .arg(f.stringProperty(TextProperties::ListLevelText).toUtf8().toHex());
}

QString describeBlock(const QTextDocument& document, const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    QString tabs;
    for (const QTextOption::Tab& tab : f.tabPositions())
        tabs += QStringLiteral("%1:%2 ").arg(qRound(tab.position)).arg(int(tab.type));
    QString text = QStringLiteral("<align %1 margins %2 %3 %4 %5 %6 line %7/%8 break %9 tabs %10 "
                                  "%11 note %12 %13%14>")
                       .arg(int(f.alignment() & Qt::AlignHorizontal_Mask))
                       .arg(qRound(f.leftMargin()))
                       .arg(qRound(f.rightMargin()))
                       .arg(qRound(f.textIndent()))
                       .arg(qRound(f.topMargin()))
                       .arg(qRound(f.bottomMargin()))
                       .arg(f.lineHeightType())
                       .arg(qRound(f.lineHeight()))
                       .arg(int(f.pageBreakPolicy()))
                       .arg(tabs, f.stringProperty(TextProperties::TabLeaders))
                       .arg(f.intProperty(PageFurniture::NoteBody))
                       .arg(f.boolProperty(PageFurniture::Endnote))
                       .arg(describeList(block.textList()));
    for (auto it = block.begin(); !it.atEnd(); ++it)
        text += describeRun(document, it.fragment());
    // An empty paragraph shows its mark's size.
    if (const QTextCharFormat mark = block.charFormat(); block.length() == 1)
        text += QStringLiteral("[mark %1]")
                    .arg(mark.hasProperty(QTextFormat::FontPointSize)
                             ? mark.fontPointSize()
                             : document.defaultFont().pointSizeF());
    return text + u'\n';
}

QString describeTable(const QTextTable& table)
{
    const QTextTableFormat f = table.format();
    QString text = QStringLiteral("{table %1x%2 border %3 %4 widths")
                       .arg(table.rows())
                       .arg(table.columns())
                       .arg(f.border())
                       .arg(f.intProperty(TextProperties::TableBorderTwips));
    for (const QTextLength& width : f.columnWidthConstraints())
        text += u' ' + QString::number(qRound(width.rawValue()));
    for (int row = 0; row < table.rows(); ++row)
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                text += QStringLiteral(" (%1,%2 %3x%4)")
                            .arg(row)
                            .arg(column)
                            .arg(cell.rowSpan())
                            .arg(cell.columnSpan());
        }
    return text + QStringLiteral("}\n");
}

QString describeStory(const QByteArray& rtf)
{
    if (rtf.isEmpty())
        return QStringLiteral("-");
    QTextDocument story;
    RtfReader().read(rtf, &story);
    QString text;
    for (QTextBlock block = story.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            text += QStringLiteral("%1/%2 ")
                        .arg(it.fragment().text())
                        .arg(it.fragment().charFormat().boolProperty(PageFurniture::PageNumber));
    return text;
}

QString describe(const QTextDocument& document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const auto* table = qobject_cast<QTextTable*>(QTextCursor(block).currentFrame());
            table && QTextCursor(block).position() == table->firstPosition())
            text += describeTable(*table);
        text += describeBlock(document, block);
    }
    const PageFurniture furniture = PageFurniture::of(document);
    text += QStringLiteral("title page %1 facing %2\n")
                .arg(furniture.titlePage)
                .arg(furniture.facingPages);
    for (const QByteArray& story : furniture.stories)
        text += describeStory(story) + u'\n';
    const PageSetup page = PageSetup::of(document);
    const DocumentInfo info = DocumentInfo::of(document);
    return text + QStringLiteral("page %1 %2 %3 %4 %5 %6 %7 %8 by %9\n")
                      .arg(page.paperWidth)
                      .arg(page.paperHeight)
                      .arg(page.marginLeft)
                      .arg(page.marginRight)
                      .arg(page.marginTop)
                      .arg(page.marginBottom)
                      .arg(page.landscape)
                      .arg(info.title, info.author);
}

} // namespace

Q_DECLARE_METATYPE(Build)
using Check = std::function<bool(const QTextDocument&)>;
Q_DECLARE_METATYPE(Check)

class tst_Docx : public QObject
{
    Q_OBJECT

private slots:
    void whatADocumentHoldsSurvivesWordFiles_data();
    void whatADocumentHoldsSurvivesWordFiles();
    void readsWhatLibreOfficeWrites();
    void readsWhatWordWrites_data();
    void readsWhatWordWrites();
    void theFontMostTextIsInIsTheDefault();
    void tabsAndBreaksAreElementsWhereverTheyFall();
    void longWorkHearsProgressAndStopsWhenCancelled();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
};

namespace {

QTextCharFormat charFormat(const std::function<void(QTextCharFormat&)>& set)
{
    QTextCharFormat format;
    set(format);
    return format;
}

void addNote(QTextDocument& document, QTextCursor& cursor, int number, bool endnote)
{
    QTextCharFormat mark;
    mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    mark.setProperty(PageFurniture::NoteMark, number);
    // Endnotes count apart, from i.
    const QString label = endnote ? QStringLiteral("i") : QString::number(number);
    cursor.insertText(label, mark);
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    cursor.setKeepPositionOnInsert(true);
    if (number == 1) {
        QTextBlockFormat heading;
        heading.setProperty(PageFurniture::NotesHeading, true);
        end.insertBlock(heading, QTextCharFormat());
        end.insertText(QStringLiteral("Notes"), QTextCharFormat());
    }
    QTextBlockFormat note;
    note.setProperty(PageFurniture::NoteBody, number);
    if (endnote)
        note.setProperty(PageFurniture::Endnote, true);
    end.insertBlock(note, QTextCharFormat());
    end.insertText(label, mark);
    end.insertText(QStringLiteral(" note %1").arg(number), QTextCharFormat());
    // Only the position stayed: the anchor moved on with the note.
    cursor.setKeepPositionOnInsert(false);
    cursor.clearSelection();
}

QByteArray storyRtf(const QString& text, bool pageNumber)
{
    QTextDocument story;
    QTextCursor cursor(&story);
    cursor.insertText(text);
    if (pageNumber) {
        QTextCharFormat number;
        number.setProperty(PageFurniture::PageNumber, true);
        cursor.insertText(QStringLiteral("7"), number);
    }
    return RtfDocumentWriter(story).write();
}

QByteArray png()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

} // namespace

namespace {

void addRunRows()
{
    const auto run = [](const char* name, const std::function<void(QTextCharFormat&)>& set) {
        QTest::newRow(name) << Build([=](QTextDocument&, QTextCursor& cursor) {
            cursor.insertText(QStringLiteral("plain "));
            cursor.insertText(QStringLiteral("styled"), charFormat(set));
        });
    };
    run("bold", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    run("italic", [](QTextCharFormat& f) { f.setFontItalic(true); });
    run("underline", [](QTextCharFormat& f) { f.setFontUnderline(true); });
    run("strike", [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    run("small capitals", [](QTextCharFormat& f) { f.setFontCapitalization(QFont::SmallCaps); });
    run("colour", [](QTextCharFormat& f) { f.setForeground(QColor(0x12, 0x34, 0x56)); });
    run("highlight", [](QTextCharFormat& f) { f.setBackground(QColor(Qt::yellow)); });
    run("font and size", [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Courier New")});
        f.setFontPointSize(15.5);
    });
    run("superscript",
        [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    run("subscript",
        [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    run("seed text", [](QTextCharFormat& f) { f.setProperty(TextProperties::SeedRun, 5); });
    run("seed text with what it was written as", [](QTextCharFormat& f) {
        f.setProperty(TextProperties::SeedRun, 5);
        f.setProperty(TextProperties::SeedRunLength, 6);
        f.setProperty(TextProperties::SeedRunWords, 2);
        f.setProperty(TextProperties::SeedRunBreaks, 1);
    });
    run("hyperlink", [](QTextCharFormat& f) {
        f.setAnchor(true);
        f.setAnchorHref(QStringLiteral("https://example.org/a?b=c&d"));
    });
    QTest::newRow("hidden text") << Build([](QTextDocument&, QTextCursor& cursor) {
        QTextCharFormat hidden;
        hidden.setObjectType(TextProperties::HiddenTextObject);
        hidden.setProperty(TextProperties::HiddenText, QStringLiteral("unseen"));
        cursor.insertText(QStringLiteral("seen"));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), hidden);
    });
    QTest::newRow("text that needs escaping, tabs and line breaks")
        << Build([](QTextDocument&, QTextCursor& cursor) {
               cursor.insertText(QStringLiteral("<&> \"q\"\tafter tab\u2028next line \U0001F600"));
           });
}

void addParagraphRows()
{
    const auto block = [](const char* name, const std::function<void(QTextBlockFormat&)>& set) {
        QTest::newRow(name) << Build([=](QTextDocument&, QTextCursor& cursor) {
            cursor.insertText(QStringLiteral("first"));
            QTextBlockFormat format;
            set(format);
            cursor.insertBlock(format);
            cursor.insertText(QStringLiteral("second"));
        });
    };
    block("alignment", [](QTextBlockFormat& f) { f.setAlignment(Qt::AlignHCenter); });
    block("justified", [](QTextBlockFormat& f) { f.setAlignment(Qt::AlignJustify); });
    block("indents", [](QTextBlockFormat& f) {
        f.setLeftMargin(48);
        f.setRightMargin(24);
        f.setTextIndent(-12);
    });
    block("spacing", [](QTextBlockFormat& f) {
        f.setTopMargin(8);
        f.setBottomMargin(16);
    });
    block("double spacing",
          [](QTextBlockFormat& f) { f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); });
    block("exact spacing",
          [](QTextBlockFormat& f) { f.setLineHeight(30, QTextBlockFormat::FixedHeight); });
    block("page break",
          [](QTextBlockFormat& f) { f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); });
    block("tab stops with leaders", [](QTextBlockFormat& f) {
        f.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab),
                           QTextOption::Tab(480, QTextOption::RightTab)});
        f.setProperty(TextProperties::TabLeaders, QStringLiteral(" ."));
    });
    QTest::newRow("empty paragraphs of one format, their marks in other sizes")
        << Build([](QTextDocument&, QTextCursor& cursor) {
               cursor.insertText(QStringLiteral("first"));
               for (const double size : {20.0, 14.0}) {
                   QTextCharFormat mark;
                   mark.setFontPointSize(size);
                   cursor.insertBlock(QTextBlockFormat(), mark);
               }
               cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
               cursor.insertText(QStringLiteral("last"));
           });
}

void addStructureRows()
{
    QTest::newRow("lists") << Build([](QTextDocument&, QTextCursor& cursor) {
        QTextListFormat numbered;
        numbered.setStyle(QTextListFormat::ListUpperRoman);
        numbered.setNumberPrefix(QStringLiteral("("));
        numbered.setNumberSuffix(QStringLiteral(")"));
        numbered.setProperty(TextProperties::ListStart, 3);
        cursor.insertText(QStringLiteral("one"));
        cursor.createList(numbered);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("two"));
        QTextListFormat bullets;
        bullets.setStyle(QTextListFormat::ListSquare);
        bullets.setIndent(2);
        cursor.insertBlock();
        cursor.createList(bullets);
        cursor.insertText(QStringLiteral("nested"));
    });
    QTest::newRow("table") << Build([](QTextDocument&, QTextCursor& cursor) {
        cursor.insertText(QStringLiteral("before"));
        QTextTableFormat format;
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setProperty(TextProperties::TableBorderTwips, 10);
        format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100),
                                          QTextLength(QTextLength::FixedLength, 150),
                                          QTextLength(QTextLength::FixedLength, 200)});
        QTextTable* table = cursor.insertTable(3, 3, format);
        for (int cell = 0; cell < 9; ++cell)
            table->cellAt(cell / 3, cell % 3)
                .firstCursorPosition()
                .insertText(QString::number(cell));
        table->mergeCells(0, 0, 1, 2);
        table->mergeCells(1, 2, 2, 1);
    });
}

void addNoteAndPageRows()
{
    QTest::newRow("notes") << Build([](QTextDocument& document, QTextCursor& cursor) {
        cursor.insertText(QStringLiteral("marked"));
        addNote(document, cursor, 1, false);
        cursor.insertText(QStringLiteral(" and again"), QTextCharFormat());
        addNote(document, cursor, 2, true);
    });
    QTest::newRow("picture") << Build([](QTextDocument& document, QTextCursor& cursor) {
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("rtfimage:x")),
                             png());
        QTextImageFormat image;
        image.setName(QStringLiteral("rtfimage:x"));
        image.setWidth(40);
        image.setHeight(30);
        cursor.insertText(QStringLiteral("see "));
        cursor.insertImage(image);
    });
    QTest::newRow("page, headers and footers, title and author") << Build(
        [](QTextDocument& document, QTextCursor& cursor) {
            cursor.insertText(QStringLiteral("body"));
            PageSetup{16838, 11906, 720, 1440, 1080, 360, true}.keepIn(document);
            PageFurniture furniture;
            furniture.titlePage = true;
            furniture.facingPages = true;
            furniture.stories[PageFurniture::Header] = storyRtf(QStringLiteral("Page "), true);
            furniture.stories[PageFurniture::HeaderLeft] = storyRtf(QStringLiteral("left"), true);
            furniture.stories[PageFurniture::HeaderFirst] =
                storyRtf(QStringLiteral("first"), false);
            furniture.stories[PageFurniture::Footer] = storyRtf(QStringLiteral("foot"), false);
            furniture.keepIn(document);
            DocumentInfo{QStringLiteral("A Title"), QStringLiteral("An Author")}.keepIn(document);
        });
}

} // namespace

void tst_Docx::whatADocumentHoldsSurvivesWordFiles_data()
{
    QTest::addColumn<Build>("build");
    addRunRows();
    addParagraphRows();
    addStructureRows();
    addNoteAndPageRows();
}

// Each thing a document holds is written and read back as it was, also when the body is read on
// a second thread.
void tst_Docx::whatADocumentHoldsSurvivesWordFiles()
{
    QFETCH(Build, build);
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QTextCursor cursor(document.get());
    build(*document, cursor);
    const DocumentFormats::Format& docx = DocumentFormats::docx();
    const QByteArray bytes = docx.write(*document, {});
    QVERIFY(docx.recognises(bytes.first(std::min<qsizetype>(bytes.size(), 4096))));
    for (const QByteArray& read : {bytes, paddedForTwoThreads(bytes)}) {
        const DocumentFormats::Read back = docx.read(read, {});
        QVERIFY2(back.document, qPrintable(back.error));
        QCOMPARE(describe(*back.document), describe(*document));
    }
}

// LibreOffice's Word file of data/libreoffice.rtf.
void tst_Docx::readsWhatLibreOfficeWrites()
{
    const DocumentFormats::Read read =
        DocumentFormats::readFile(QStringLiteral(QUILLMERE_FORMATS_DATA "/libreoffice.docx"));
    QVERIFY2(read.document, qPrintable(read.error));
    QCOMPARE(read.format, &DocumentFormats::docx());
    const QTextDocument& document = *read.document;
    QCOMPARE(document.toPlainText(),
             QStringLiteral("Plain start, bold, italic and red text.1\nFirst item\nSecond item\n"
                            "Before the table.\nA1\nB1\nA2\nB2\nAfter the table.\nNotes\n1 The "
                            "footnote text."));
    const QTextBlock item = document.findBlockByNumber(2);
    QVERIFY(item.textList());
    QCOMPARE(item.textList()->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(item.textList()->itemNumber(item), 1);
    const auto* table =
        qobject_cast<QTextTable*>(QTextCursor(document.findBlockByNumber(5)).currentFrame());
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    QVERIFY(table->format().border() > 0);
    QTextCursor bold(document.findBlockByNumber(0));
    bold.setPosition(bold.position() + 14);
    QVERIFY(bold.charFormat().fontWeight() >= QFont::Bold);
    QTextCursor mark(document.findBlockByNumber(0));
    mark.movePosition(QTextCursor::EndOfBlock);
    QCOMPARE(mark.charFormat().intProperty(PageFurniture::NoteMark), 1);
    QCOMPARE(document.lastBlock().blockFormat().intProperty(PageFurniture::NoteBody), 1);
    QCOMPARE(describeStory(PageFurniture::of(document).stories[PageFurniture::Header]),
             QStringLiteral("Page /0 1/1 "));
    const PageSetup page = PageSetup::of(document);
    QCOMPARE(page.paperWidth, 11906);
    QCOMPARE(page.marginLeft, 1134);
    QCOMPARE(page.marginTop, 1418);
    QCOMPARE(DocumentInfo::of(document),
             (DocumentInfo{QStringLiteral("Sample Title"), QStringLiteral("Ada Writer")}));
}

// As Word writes, a run in the font and size most of the text is in names neither; the others
// name theirs, a run in the document's own default font too.
void tst_Docx::theFontMostTextIsInIsTheDefault()
{
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QTextCursor cursor(document.get());
    QTextCharFormat body;
    body.setFontFamilies({QStringLiteral("Liberation Serif")});
    body.setFontPointSize(13);
    QTextCharFormat other = body;
    other.setFontPointSize(9);
    cursor.insertText(QStringLiteral("Most of the text is in one font "), body);
    cursor.insertText(QStringLiteral("and size, "), other);
    cursor.insertText(QStringLiteral("a little is in the document's own,"), QTextCharFormat());
    cursor.insertText(QStringLiteral(" and the rest is in the first again."), body);
    const QByteArray docx = DocumentFormats::docx().write(*document, {});
    QString styles, text;
    for (const auto& [name, bytes] : zipParts(docx)) {
        if (name == u"word/styles.xml")
            styles = QString::fromUtf8(bytes);
        else if (name == u"word/document.xml")
            text = QString::fromUtf8(bytes);
    }
    QVERIFY(styles.contains(u"<w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Liberation Serif\""));
    QVERIFY(styles.contains(u"<w:sz w:val=\"26\"/>"));
    QCOMPARE(text.count(u"<w:rFonts"), 1);
    QVERIFY(text.contains(QStringLiteral("w:ascii=\"%1\"").arg(document->defaultFont().family())));
    QCOMPARE(text.count(u"<w:sz "), 2);
    const DocumentFormats::Read read = DocumentFormats::docx().read(docx, {});
    QVERIFY2(read.document, qPrintable(read.error));
    QCOMPARE(describe(*read.document), describe(*document));
}

// Text is passed over eight characters at a time: a tab or a line break is an element of its
// own wherever it falls among them, and a character XML cannot hold is left out.
void tst_Docx::tabsAndBreaksAreElementsWhereverTheyFall()
{
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QTextCursor cursor(document.get());
    for (int at = 0; at < 18; ++at)
        cursor.insertText(QString(at, u'x') + u'\t' + QString(17 - at, u'\u65e5') +
                          QChar::LineSeparator + QString(at, u'y') + QChar(0xd800) + u'z');
    QString text;
    for (const auto& [name, bytes] : zipParts(DocumentFormats::docx().write(*document, {})))
        if (name == u"word/document.xml")
            text = QString::fromUtf8(bytes);
    QCOMPARE(text.count(u"<w:tab/>"), 18);
    QCOMPARE(text.count(u"<w:br/>"), 18);
    QVERIFY(!text.contains(u'\t') && !text.contains(QChar::LineSeparator));
    QCOMPARE(text.count(u"\u65e5"), 17 * 18 / 2);
    QCOMPARE(text.count(u"\">z"), 18);
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
}

// A cancel from the progress stops the work there, and leaves nothing behind.
void tst_Docx::longWorkHearsProgressAndStopsWhenCancelled()
{
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QTextCursor cursor(document.get());
    for (int paragraph = 0; paragraph < 5000; ++paragraph)
        cursor.insertText(QStringLiteral("A paragraph of its own.\n"));
    const DocumentFormats::Format& docx = DocumentFormats::docx();
    int heard = 0;
    const Progress count = [&heard](qint64 done, qint64 total) { heard += done <= total; };
    const QByteArray bytes = docx.write(*document, count);
    QVERIFY(heard > 0);
    heard = 0;
    QVERIFY(docx.read(bytes, count).document);
    QVERIFY(heard > 0);
    const Progress cancel = [](qint64, qint64) { throw ProgressCancelled(); };
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled, docx.write(*document, cancel));
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled, docx.read(bytes, cancel));
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled, docx.read(paddedForTwoThreads(bytes), cancel));
}

namespace {

// As tightly as deflate goes, as a zip bomb is made; Save deflates faster and less.
QByteArray zipped(const QList<std::pair<QString, QByteArray>>& parts)
{
    QByteArray data;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED,
                  Z_BEST_COMPRESSION);
        file.write(bytes);
        file.close();
    }
    zip.close();
    return data;
}

// The package again with its document part so long that its body is read on a second thread, as
// a long document's is.
QByteArray paddedForTwoThreads(const QByteArray& docx)
{
    QList<std::pair<QString, QByteArray>> parts = zipParts(docx);
    for (auto& [name, bytes] : parts)
        if (name == u"word/document.xml")
            bytes = paddedPastOneThread(bytes);
    return zipped(parts);
}

QByteArray relationship(const char* type, const char* target)
{
    return QByteArray("<Relationship Id='") + type +
           "' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
           "' Target='" + target + "'/>";
}

// A Word file of body, with styles and numbering parts when given.
QByteArray wordFile(const QByteArray& body, const QByteArray& styles = {},
                    const QByteArray& numbering = {})
{
    const QByteArray ns = "xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'";
    return zipped(
        {{QStringLiteral("[Content_Types].xml"), "<Types/>"},
         {QStringLiteral("_rels/.rels"), "<Relationships>" +
                                             relationship("officeDocument", "word/document.xml") +
                                             "</Relationships>"},
         {QStringLiteral("word/_rels/document.xml.rels"),
          "<Relationships>" + relationship("styles", "styles.xml") +
              relationship("numbering", "numbering.xml") + "</Relationships>"},
         {QStringLiteral("word/styles.xml"), "<w:styles " + ns + ">" + styles + "</w:styles>"},
         {QStringLiteral("word/numbering.xml"),
          "<w:numbering " + ns + ">" + numbering + "</w:numbering>"},
         {QStringLiteral("word/document.xml"), body}});
}

QByteArray wordBody(const QByteArray& paragraphs)
{
    return "<w:document xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'>"
           "<w:body>" +
           paragraphs + "</w:body></w:document>";
}

QTextCharFormat charAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QByteArray compoundFile(const QString& stream)
{
    QByteArray data = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(504, '\0');
    data.append(reinterpret_cast<const char*>(stream.utf16()), stream.size() * 2);
    return data;
}

} // namespace

namespace {

void addFieldAndBreakRows()
{
    const QByteArray field =
        "<w:p><w:r><w:fldChar w:fldCharType='begin'/></w:r><w:r><w:instrText>%1</w:instrText>"
        "</w:r><w:r><w:fldChar w:fldCharType='separate'/></w:r><w:r><w:t>4</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType='end'/></w:r></w:p>";
    QTest::newRow("page number field")
        << wordFile(wordBody(QByteArray(field).replace("%1", " PAGE \\* Arabic ")))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"4" &&
                      charAt(d, 0).boolProperty(PageFurniture::PageNumber);
           });
    QTest::newRow("link field")
        << wordFile(wordBody(QByteArray(field).replace("%1", "HYPERLINK \"https://x.org/\"")))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"4" && charAt(d, 0).anchorHref() == u"https://x.org/";
           });
    // AbiWord writes VML shapes in notes without declaring their prefix.
    QTest::newRow("a prefix left undeclared")
        << wordFile(wordBody("<w:p><w:r><w:t>a</w:t></w:r><w:r><w:pict><v:shape "
                             "v:style='width:1pt'/></w:pict></w:r><w:r><w:t>b</w:t></w:r></w:p>"))
        << Check([](const QTextDocument& d) { return d.toPlainText() == u"ab"; });
    QTest::newRow("page break after text")
        << wordFile(wordBody("<w:p><w:r><w:t>a</w:t><w:br w:type='page'/></w:r></w:p>"
                             "<w:p><w:r><w:t>b</w:t></w:r></w:p>"))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"a\nb" && d.lastBlock().blockFormat().pageBreakPolicy() ==
                                                        QTextFormat::PageBreak_AlwaysBefore;
           });
    QTest::newRow("hidden text and a page break inside a paragraph")
        << wordFile(wordBody("<w:p><w:r><w:t>a</w:t></w:r><w:r><w:rPr><w:vanish/></w:rPr><w:t>h"
                             "</w:t></w:r><w:r><w:t>b</w:t><w:br w:type='page'/><w:t>c</w:t>"
                             "</w:r></w:p>"))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"a\ufffcb\nc" &&
                      charAt(d, 1).objectType() == TextProperties::HiddenTextObject &&
                      d.lastBlock().blockFormat().pageBreakPolicy() ==
                          QTextFormat::PageBreak_AlwaysBefore;
           });
    QTest::newRow("sections")
        << wordFile(wordBody("<w:p><w:pPr><w:sectPr/></w:pPr><w:r><w:t>a</w:t></w:r></w:p>"
                             "<w:p><w:pPr><w:sectPr><w:type w:val='continuous'/></w:sectPr></w:pPr>"
                             "<w:r><w:t>b</w:t></w:r></w:p><w:p><w:r><w:t>c</w:t></w:r></w:p>"
                             "<w:sectPr/>"))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"a\nb\nc" &&
                      d.findBlockByNumber(1).blockFormat().pageBreakPolicy() == 0 &&
                      d.lastBlock().blockFormat().pageBreakPolicy() ==
                          QTextFormat::PageBreak_AlwaysBefore;
           });
    QTest::newRow("page break inside text")
        << wordFile(wordBody("<w:p><w:r><w:t>a</w:t><w:br w:type='page'/><w:t>b</w:t></w:r></w:p>"))
        << Check([](const QTextDocument& d) {
               return d.toPlainText() == u"a\nb" && d.lastBlock().blockFormat().pageBreakPolicy() ==
                                                        QTextFormat::PageBreak_AlwaysBefore;
           });
}

void addTableStyleAndListRows()
{
    QTest::newRow("cells merged down")
        << wordFile(
               wordBody("<w:tbl><w:tblGrid><w:gridCol w:w='2000'/><w:gridCol w:w='2000'/>"
                        "</w:tblGrid><w:tr><w:tc><w:tcPr><w:vMerge w:val='restart'/></w:tcPr>"
                        "<w:p><w:r><w:t>tall</w:t></w:r></w:p></w:tc><w:tc><w:p/></w:tc></w:tr>"
                        "<w:tr><w:tc><w:tcPr><w:vMerge/></w:tcPr><w:p/></w:tc><w:tc><w:p/></w:tc>"
                        "</w:tr></w:tbl>"))
        << Check([](const QTextDocument& d) {
               const auto* table = qobject_cast<QTextTable*>(d.rootFrame()->childFrames().value(0));
               return table && table->rows() == 2 && table->cellAt(0, 0).rowSpan() == 2;
           });
    QTest::newRow("table lines from a table style")
        << wordFile(wordBody("<w:tbl><w:tblPr><w:tblStyle w:val='Grid'/></w:tblPr><w:tr><w:tc>"
                             "<w:p/></w:tc></w:tr></w:tbl>"),
                    "<w:style w:type='table' w:styleId='Grid'><w:tblPr><w:tblBorders><w:top "
                    "w:val='single' w:sz='8'/></w:tblBorders></w:tblPr></w:style>")
        << Check([](const QTextDocument& d) {
               const auto* table = qobject_cast<QTextTable*>(d.rootFrame()->childFrames().value(0));
               return table && table->format().border() > 0;
           });
    QTest::newRow("styles based on styles")
        << wordFile(wordBody("<w:p><w:pPr><w:pStyle w:val='Derived'/></w:pPr><w:r><w:t>x</w:t>"
                             "</w:r></w:p>"),
                    "<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val='30'/></w:rPr></w:rPrDefault>"
                    "</w:docDefaults><w:style w:type='paragraph' w:styleId='Base'><w:pPr><w:jc "
                    "w:val='center'/></w:pPr><w:rPr><w:i/></w:rPr></w:style><w:style "
                    "w:type='paragraph' w:styleId='Derived'><w:basedOn w:val='Base'/><w:rPr><w:b/>"
                    "</w:rPr></w:style>")
        << Check([](const QTextDocument& d) {
               const QTextCharFormat f = charAt(d, 0);
               return f.fontItalic() && f.fontWeight() == QFont::Bold && f.fontPointSize() == 15 &&
                      d.begin().blockFormat().alignment() == Qt::AlignHCenter;
           });
    QTest::newRow("numbers of several levels")
        << wordFile(wordBody("<w:p><w:pPr><w:numPr><w:ilvl w:val='1'/><w:numId w:val='3'/>"
                             "</w:numPr></w:pPr><w:r><w:t>x</w:t></w:r></w:p>"),
                    {},
                    "<w:abstractNum w:abstractNumId='0'><w:lvl w:ilvl='1'><w:start w:val='2'/>"
                    "<w:numFmt w:val='lowerLetter'/><w:lvlText w:val='%1.%2)'/></w:lvl>"
                    "</w:abstractNum><w:num w:numId='3'><w:abstractNumId w:val='0'/></w:num>")
        << Check([](const QTextDocument& d) {
               const QTextList* list = d.begin().textList();
               return list && list->format().style() == QTextListFormat::ListLowerAlpha &&
                      list->format().indent() == 2 &&
                      list->format().intProperty(TextProperties::ListStart) == 2 &&
                      list->format().stringProperty(TextProperties::ListLevelText) ==
                          QStringLiteral("\u0004\u0000.\u0001)");
           });
}

// Paragraphs, runs and lists repeat their properties byte for byte; what a run's make still
// depends on its paragraph's style and on what the run said before, and a section's end is read
// each time.
void addRepeatedPropertyRows()
{
    QTest::newRow("the same run properties in paragraphs of other styles")
        << wordFile(wordBody("<w:p><w:pPr><w:pStyle w:val='Strong'/></w:pPr><w:r><w:rPr><w:i/>"
                             "</w:rPr><w:t>a</w:t></w:r></w:p><w:p><w:r><w:rPr><w:i/></w:rPr>"
                             "<w:t>b</w:t></w:r><w:r><w:rPr><w:u/></w:rPr><w:rPr><w:i/></w:rPr>"
                             "<w:t>c</w:t></w:r></w:p>"),
                    "<w:style w:type='paragraph' w:styleId='Strong'><w:rPr><w:b/></w:rPr>"
                    "</w:style>")
        << Check([](const QTextDocument& d) {
               const auto bold = [&d](int at) { return charAt(d, at).fontWeight() == QFont::Bold; };
               return d.toPlainText() == u"a\nbc" && bold(0) && charAt(d, 0).fontItalic() &&
                      !bold(2) && charAt(d, 2).fontItalic() && charAt(d, 3).fontItalic() &&
                      charAt(d, 3).fontUnderline();
           });
    QTest::newRow("the same section ending two paragraphs")
        << wordFile(wordBody("<w:p><w:pPr><w:sectPr/></w:pPr><w:r><w:t>a</w:t></w:r></w:p>"
                             "<w:p><w:pPr><w:sectPr/></w:pPr><w:r><w:t>b</w:t></w:r></w:p>"
                             "<w:p><w:r><w:t>c</w:t></w:r></w:p><w:sectPr/>"))
        << Check([](const QTextDocument& d) {
               const auto breaks = [&d](int block) {
                   return d.findBlockByNumber(block).blockFormat().pageBreakPolicy() ==
                          QTextFormat::PageBreak_AlwaysBefore;
               };
               return d.toPlainText() == u"a\nb\nc" && !breaks(0) && !breaks(1) && breaks(2);
           });
    QByteArray lists, numbered;
    for (const char* format : {"decimal", "decimal", "lowerLetter"}) {
        const QByteArray id = QByteArray::number(numbered.count("<w:p>") + 1);
        lists += "<w:abstractNum w:abstractNumId='" + id + "'><w:lvl w:ilvl='0'><w:numFmt w:val='" +
                 format + "'/></w:lvl></w:abstractNum><w:num w:numId='" + id +
                 "'><w:abstractNumId w:val='" + id + "'/></w:num>";
        numbered += "<w:p><w:pPr><w:numPr><w:numId w:val='" + id +
                    "'/></w:numPr></w:pPr><w:r><w:t>x</w:t></w:r></w:p>";
    }
    QTest::newRow("the same level in lists of other numbers")
        << wordFile(wordBody(numbered), {}, lists) << Check([](const QTextDocument& d) {
               const auto style = [&d](int block) {
                   const QTextList* list = d.findBlockByNumber(block).textList();
                   return list ? list->format().style() : QTextListFormat::ListStyleUndefined;
               };
               return style(0) == QTextListFormat::ListDecimal &&
                      style(1) == QTextListFormat::ListDecimal &&
                      style(2) == QTextListFormat::ListLowerAlpha;
           });
}

} // namespace

void tst_Docx::readsWhatWordWrites_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Check>("holds");
    addFieldAndBreakRows();
    addTableStyleAndListRows();
    addRepeatedPropertyRows();
}

// Word writes some things otherwise than this program: fields, breaks in runs, merged cells,
// styles built on styles, numbers of several levels.
void tst_Docx::readsWhatWordWrites()
{
    QFETCH(QByteArray, data);
    QFETCH(Check, holds);
    const DocumentFormats::Read read = DocumentFormats::docx().read(data, {});
    QVERIFY2(read.document, qPrintable(read.error));
    QVERIFY2(holds(*read.document), qPrintable(read.document->toPlainText()));
}

void tst_Docx::refusesWhatItCannotRead_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const QByteArray good = wordFile("<w:document><w:body><w:p><w:r><w:t>x</w:t></w:r></w:p>"
                                     "</w:body></w:document>");
    QTest::newRow("cut short") << good.first(good.size() / 2) << QStringLiteral("damaged");
    QTest::newRow("malformed XML")
        << wordFile("<w:document><w:body><w:p></w:body>") << QStringLiteral("document.xml");
    QTest::newRow("entities declared")
        << wordFile("<!DOCTYPE d [<!ENTITY a 'aaaa'>]><w:document>&a;</w:document>")
        << QStringLiteral("document type");
    QTest::newRow("no document part")
        << zipped({{QStringLiteral("[Content_Types].xml"), "<Types/>"}})
        << QStringLiteral("no Word document");
    QTest::newRow("password") << compoundFile(QStringLiteral("EncryptedPackage"))
                              << QStringLiteral("password");
    QTest::newRow("Word 97-2003") << compoundFile(QStringLiteral("WordDocument"))
                                  << QStringLiteral("97-2003");
    // Deflated, 200 MB of one byte takes a few hundred kilobytes.
    QTest::newRow("zip bomb") << wordFile(QByteArray(200 << 20, ' '))
                              << QStringLiteral("more than any document holds");
}

// A file that is not a Word document Quillmere reads says why, and gives no document.
void tst_Docx::refusesWhatItCannotRead()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QCOMPARE(&DocumentFormats::forFile(data, QStringLiteral("x.docx")), &DocumentFormats::docx());
    const DocumentFormats::Read read = DocumentFormats::docx().read(data, {});
    QVERIFY(!read.document);
    QVERIFY2(read.error.contains(reason), qPrintable(read.error));
}

QTEST_MAIN(tst_Docx)
#include "tst_docx.moc"
