#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"
#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/TextProperties.h"
#include "formats/odt/OdtPackage.h"
#include "formats/rtf/RtfReader.h"
#include "support/ZipParts.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <functional>
#include <memory>

namespace {

using Document = std::unique_ptr<QTextDocument>;

struct Case
{
    const char* name;
    std::function<void(QTextDocument&)> build;
    /// What the case keeps, as text to compare.
    std::function<QString(const QTextDocument&)> probe;
};

std::function<void(QTextDocument&)> run(const std::function<void(QTextCharFormat&)>& set)
{
    return [set](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("plain "));
        QTextCharFormat format;
        set(format);
        cursor.insertText(QStringLiteral("run"), format);
    };
}

// The value of property of the run's last character.
std::function<QString(const QTextDocument&)> runProperty(int property)
{
    return [property](const QTextDocument& document) {
        if (document.characterCount() < 9)
            return QString();
        QTextCursor cursor(const_cast<QTextDocument*>(&document));
        cursor.setPosition(9);
        return cursor.charFormat().property(property).toString() +
               cursor.charFormat().property(property).value<QBrush>().color().name();
    };
}

std::function<void(QTextDocument&)> paragraph(const std::function<void(QTextBlockFormat&)>& set)
{
    return [set](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("first"));
        QTextBlockFormat format;
        set(format);
        cursor.insertBlock(format);
        cursor.insertText(QStringLiteral("second"));
    };
}

std::function<QString(const QTextDocument&)> paragraphProperty(int property)
{
    return [property](const QTextDocument& document) {
        const QTextBlockFormat format = document.lastBlock().blockFormat();
        return format.property(property).toString() + u'/' +
               QString::number(format.lineHeightType());
    };
}

// A seed run edited inside, in two pieces, beside a run that says only its length.
void seedRuns(QTextDocument& document)
{
    QTextCharFormat edited;
    edited.setProperty(TextProperties::SeedRun, 7);
    edited.setProperty(TextProperties::SeedRunLength, 6);
    edited.setProperty(TextProperties::SeedRunWords, 2);
    edited.setProperty(TextProperties::SeedRunBreaks, 1);
    QTextCharFormat other;
    other.setProperty(TextProperties::SeedRun, 9);
    other.setProperty(TextProperties::SeedRunLength, 2);
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("ab"), edited);
    cursor.insertText(QStringLiteral("X"), QTextCharFormat());
    cursor.insertText(QStringLiteral("cde"), edited);
    cursor.insertText(QStringLiteral(" "), QTextCharFormat());
    cursor.insertText(QStringLiteral("fg"), other);
}

// Each seed fragment's run, numbered as they come, with the run's length, words and breaks.
QString seedRunsOf(const QTextDocument& document)
{
    QList<qint64> runs;
    QStringList shown;
    for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (!format.hasProperty(TextProperties::SeedRun))
            continue;
        const qint64 run = format.property(TextProperties::SeedRun).toLongLong();
        if (!runs.contains(run))
            runs << run;
        shown << QStringLiteral("%1:%2/%3/%4")
                     .arg(runs.indexOf(run))
                     .arg(format.property(TextProperties::SeedRunLength).toLongLong())
                     .arg(format.property(TextProperties::SeedRunWords).toLongLong())
                     .arg(format.hasProperty(TextProperties::SeedRunBreaks)
                              ? format.property(TextProperties::SeedRunBreaks).toString()
                              : QStringLiteral("-"));
    }
    return shown.join(u' ');
}

void numberedList(QTextDocument& document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("before"));
    QTextListFormat outer;
    outer.setStyle(QTextListFormat::ListUpperRoman);
    outer.setIndent(1);
    outer.setNumberSuffix(QStringLiteral(")"));
    outer.setProperty(TextProperties::ListStart, 4);
    cursor.insertBlock();
    cursor.createList(outer);
    cursor.insertText(QStringLiteral("four"));
    QTextListFormat inner;
    inner.setStyle(QTextListFormat::ListDisc);
    inner.setIndent(2);
    cursor.insertBlock();
    cursor.createList(inner);
    cursor.insertText(QStringLiteral("bullet"));
    cursor.insertBlock();
    outer.setIndent(1);
    cursor.block().setUserState(0);
    document.begin().next().textList()->add(cursor.block());
    cursor.insertText(QStringLiteral("five"));
}

QString lists(const QTextDocument& document)
{
    QString found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextList* list = block.textList();
        found += block.text() + u':';
        if (list)
            found += QStringLiteral("%1 %2 %3 %4 %5|")
                         .arg(list->format().style())
                         .arg(list->format().indent())
                         .arg(list->format().numberSuffix())
                         .arg(list->format().intProperty(TextProperties::ListStart))
                         .arg(list->itemText(block));
    }
    return found;
}

void table(QTextDocument& document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("above"));
    QTextTableFormat format;
    format.setBorder(2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 96),
                                      QTextLength(QTextLength::FixedLength, 48),
                                      QTextLength(QTextLength::FixedLength, 144)});
    QTextTable* table = cursor.insertTable(3, 3, format);
    for (int cell = 0; cell < 9; ++cell)
        table->cellAt(cell / 3, cell % 3).firstCursorPosition().insertText(QString::number(cell));
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 2, 2, 1);
}

QString tables(const QTextDocument& document)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.movePosition(QTextCursor::NextBlock);
    const QTextTable* table = cursor.currentTable();
    if (!table)
        return QStringLiteral("no table");
    QString found = QStringLiteral("%1x%2 border %3 spacing %4:")
                        .arg(table->rows())
                        .arg(table->columns())
                        .arg(table->format().border())
                        .arg(table->format().cellSpacing());
    for (const QTextLength& width : table->format().columnWidthConstraints())
        found += QString::number(qRound(width.rawValue())) + u' ';
    for (int row = 0; row < table->rows(); ++row)
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            found += QStringLiteral("|%1,%2 %3")
                         .arg(cell.rowSpan())
                         .arg(cell.columnSpan())
                         .arg(cell.firstCursorPosition().block().text());
        }
    return found + u'|' + document.toPlainText();
}

void notes(QTextDocument& document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Body"));
    // The second is an endnote, counted apart from i.
    const QStringList labels{QStringLiteral("1"), QStringLiteral("i")};
    for (int note = 1; note <= 2; ++note) {
        QTextCharFormat mark;
        mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        mark.setProperty(PageFurniture::NoteMark, note);
        cursor.insertText(labels[note - 1], mark);
        cursor.insertText(QStringLiteral(" text"), QTextCharFormat());
    }
    QTextBlockFormat heading;
    heading.setProperty(PageFurniture::NotesHeading, true);
    cursor.insertBlock(heading);
    cursor.insertText(QStringLiteral("Notes"));
    for (int note = 1; note <= 2; ++note) {
        QTextBlockFormat body;
        body.setProperty(PageFurniture::NoteBody, note);
        if (note == 2)
            body.setProperty(PageFurniture::Endnote, true);
        cursor.insertBlock(body, QTextCharFormat());
        QTextCharFormat mark;
        mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        mark.setProperty(PageFurniture::NoteMark, note);
        cursor.insertText(labels[note - 1], mark);
        cursor.insertText(QStringLiteral(" Note %1").arg(note), QTextCharFormat());
    }
}

QString noteParagraphs(const QTextDocument& document)
{
    QString found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        found += QStringLiteral("%1 [%2 %3]|")
                     .arg(block.text())
                     .arg(block.blockFormat().intProperty(PageFurniture::NoteBody))
                     .arg(block.blockFormat().boolProperty(PageFurniture::Endnote));
    return found;
}

void furniture(QTextDocument& document)
{
    QTextCursor(&document).insertText(QStringLiteral("Body"));
    PageSetup setup;
    setup.paperWidth = 11906;
    setup.paperHeight = 16838;
    setup.marginLeft = 1000;
    setup.marginTop = 2000;
    setup.marginBottom = 1800;
    setup.keepIn(document);
    PageFurniture furniture;
    furniture.stories[PageFurniture::Header] =
        "{\\rtf1\\ansi Running head, page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}";
    furniture.stories[PageFurniture::Footer] = "{\\rtf1\\ansi The foot\\par}";
    furniture.stories[PageFurniture::HeaderFirst] = "{\\rtf1\\ansi Title page head\\par}";
    furniture.titlePage = true;
    furniture.headerY = 700;
    furniture.footerY = 600;
    furniture.keepIn(document);
}

QString furnitureOf(const QTextDocument& document)
{
    const PageFurniture furniture = PageFurniture::of(document);
    const PageSetup setup = PageSetup::of(document);
    QString found = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                        .arg(setup.paperWidth)
                        .arg(setup.paperHeight)
                        .arg(setup.marginLeft)
                        .arg(setup.marginTop)
                        .arg(setup.marginBottom)
                        .arg(setup.landscape)
                        .arg(furniture.headerY)
                        .arg(furniture.footerY)
                        .arg(furniture.titlePage);
    for (const QByteArray& story : furniture.stories) {
        QTextDocument read;
        if (story.isEmpty() || !RtfReader().read(story, &read))
            continue;
        found += u'|' + read.toPlainText().trimmed();
        for (QTextBlock block = read.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().boolProperty(PageFurniture::PageNumber))
                    found += QStringLiteral(" <page>");
    }
    return found;
}

void picture(QTextDocument& document)
{
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("red")), image);
    QTextImageFormat format;
    format.setName(QStringLiteral("red"));
    format.setWidth(80);
    format.setHeight(40);
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("see "));
    cursor.insertImage(format);
}

QString pictures(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
                const QVariant resource =
                    document.resource(QTextDocument::ImageResource, QUrl(format.name()));
                const QImage image = resource.typeId() == QMetaType::QImage
                                         ? resource.value<QImage>()
                                         : QImage::fromData(resource.toByteArray());
                return QStringLiteral("%1x%2 %3 %4")
                    .arg(format.width())
                    .arg(format.height())
                    .arg(image.pixelColor(0, 0).name())
                    .arg(image.width());
            }
    return {};
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> all = {
        {"bold", run([](auto& f) { f.setFontWeight(QFont::Bold); }),
         runProperty(QTextFormat::FontWeight)},
        {"italic", run([](auto& f) { f.setFontItalic(true); }),
         runProperty(QTextFormat::FontItalic)},
        {"underline", run([](auto& f) { f.setFontUnderline(true); }),
         runProperty(QTextFormat::TextUnderlineStyle)},
        {"strike-through", run([](auto& f) { f.setFontStrikeOut(true); }),
         runProperty(QTextFormat::FontStrikeOut)},
        {"colour", run([](auto& f) { f.setForeground(QColor(0x12, 0x80, 0xfe)); }),
         runProperty(QTextFormat::ForegroundBrush)},
        {"highlight", run([](auto& f) { f.setBackground(QColor(Qt::yellow)); }),
         runProperty(QTextFormat::BackgroundBrush)},
        // Each reading gives a run a number of its own: what is kept is that it is seed text.
        {"seed text", run([](auto& f) { f.setProperty(TextProperties::SeedRun, 7); }),
         [](const QTextDocument& d) {
             const QTextBlock block = d.lastBlock();
             return QString::number(
                 !block.begin().atEnd() &&
                 (--block.end()).fragment().charFormat().hasProperty(TextProperties::SeedRun));
         }},
        {"seed runs edited inside", seedRuns, seedRunsOf},
        {"font family",
         run([](auto& f) { f.setFontFamilies({QStringLiteral("Liberation Serif")}); }),
         [](const QTextDocument& d) {
             const QTextBlock block = d.lastBlock();
             return block.begin().atEnd() ? QString()
                                          : (--block.end())
                                                .fragment()
                                                .charFormat()
                                                .fontFamilies()
                                                .toStringList()
                                                .join(u',');
         }},
        {"size", run([](auto& f) { f.setFontPointSize(17.5); }),
         runProperty(QTextFormat::FontPointSize)},
        {"superscript",
         run([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }),
         runProperty(QTextFormat::TextVerticalAlignment)},
        {"subscript", run([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }),
         runProperty(QTextFormat::TextVerticalAlignment)},
        {"hyperlink", run([](auto& f) {
             f.setAnchor(true);
             f.setAnchorHref(QStringLiteral("https://example.org/a?b&c"));
         }),
         runProperty(QTextFormat::AnchorHref)},
        {"spaces and tabs",
         [](QTextDocument& d) {
             QTextCursor(&d).insertText(QStringLiteral("  two  spaces\tand a tab <&> "));
         },
         [](const QTextDocument& d) { return d.toPlainText(); }},
        {"alignment", paragraph([](auto& f) { f.setAlignment(Qt::AlignHCenter); }),
         paragraphProperty(QTextFormat::BlockAlignment)},
        {"justified", paragraph([](auto& f) { f.setAlignment(Qt::AlignJustify); }),
         paragraphProperty(QTextFormat::BlockAlignment)},
        {"left indent", paragraph([](auto& f) { f.setLeftMargin(48); }),
         paragraphProperty(QTextFormat::BlockLeftMargin)},
        {"right indent", paragraph([](auto& f) { f.setRightMargin(24); }),
         paragraphProperty(QTextFormat::BlockRightMargin)},
        {"first-line indent", paragraph([](auto& f) { f.setTextIndent(-12); }),
         paragraphProperty(QTextFormat::TextIndent)},
        {"space before", paragraph([](auto& f) { f.setTopMargin(8); }),
         paragraphProperty(QTextFormat::BlockTopMargin)},
        {"space after", paragraph([](auto& f) { f.setBottomMargin(16); }),
         paragraphProperty(QTextFormat::BlockBottomMargin)},
        {"double spacing",
         paragraph([](auto& f) { f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); }),
         paragraphProperty(QTextFormat::LineHeight)},
        {"exact spacing",
         paragraph([](auto& f) { f.setLineHeight(20, QTextBlockFormat::FixedHeight); }),
         paragraphProperty(QTextFormat::LineHeight)},
        {"at least spacing",
         paragraph([](auto& f) { f.setLineHeight(30, QTextBlockFormat::MinimumHeight); }),
         paragraphProperty(QTextFormat::LineHeight)},
        {"page break",
         paragraph([](auto& f) { f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); }),
         paragraphProperty(QTextFormat::PageBreakPolicy)},
        {"tab stop with leader", paragraph([](auto& f) {
             f.setTabPositions({QTextOption::Tab(96, QTextOption::RightTab)});
             f.setProperty(TextProperties::TabLeaders, QStringLiteral("."));
         }),
         [](const QTextDocument& d) {
             const QTextBlockFormat f = d.lastBlock().blockFormat();
             return QStringLiteral("%1 %2 %3")
                 .arg(f.tabPositions().value(0).position)
                 .arg(f.tabPositions().value(0).type)
                 .arg(f.stringProperty(TextProperties::TabLeaders));
         }},
        {"lists", numberedList, lists},
        {"table", table, tables},
        {"notes", notes, noteParagraphs},
        {"page, headers and footers", furniture, furnitureOf},
        {"picture", picture, pictures},
        {"title and author",
         [](QTextDocument& d) {
             QTextCursor(&d).insertText(QStringLiteral("x"));
             DocumentInfo{QStringLiteral("A Title & more"), QStringLiteral("Ann Author")}.keepIn(d);
         },
         [](const QTextDocument& d) {
             const DocumentInfo info = DocumentInfo::of(d);
             return info.title + u'/' + info.author;
         }},
    };
    return all;
}

// The package again with content.xml so long that its body is read on a second thread, as a
// long document's is.
QByteArray paddedForTwoThreads(const QByteArray& odt)
{
    OdtPackageWriter writer("application/vnd.oasis.opendocument.text");
    for (const auto& [name, bytes] : zipParts(odt))
        if (name != u"mimetype")
            writer.add(name, name == u"content.xml" ? paddedPastOneThread(bytes) : bytes);
    return writer.finish();
}

DocumentFormats::Read readBack(QTextDocument& document, bool onTwoThreads = false)
{
    const QByteArray odt = DocumentFormats::odt().write(document, {});
    return DocumentFormats::odt().read(onTwoThreads ? paddedForTwoThreads(odt) : odt, {});
}

QByteArray package(const std::vector<std::pair<QString, QByteArray>>& parts)
{
    OdtPackageWriter writer("application/vnd.oasis.opendocument.text");
    for (const auto& [name, data] : parts)
        writer.add(name, data);
    return writer.finish();
}

QByteArray content(const QByteArray& body, const QByteArray& styles = {})
{
    return "<office:document-content "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
           "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
           "<office:automatic-styles>" +
           styles + "</office:automatic-styles><office:body><office:text>" + body +
           "</office:text></office:body></office:document-content>";
}

} // namespace

class tst_OdtCodec : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatItWrites_data();
    void keepsWhatItWrites();
    void readsLibreOfficeFiles();
    void spansTakeTheirParagraphsFormat();
    void collapsesWhiteSpaceAsOdfSays_data();
    void collapsesWhiteSpaceAsOdfSays();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
    void progressMayCancel();
};

void tst_OdtCodec::keepsWhatItWrites_data()
{
    QTest::addColumn<int>("index");
    for (size_t index = 0; index < cases().size(); ++index)
        QTest::newRow(cases()[index].name) << int(index);
}

void tst_OdtCodec::keepsWhatItWrites()
{
    QFETCH(int, index);
    const Case& test = cases()[size_t(index)];
    const Document blank(BlankDocument::create());
    const Document document(BlankDocument::create());
    test.build(*document);
    const QString written = test.probe(*document);
    QVERIFY2(written != test.probe(*blank), qPrintable(written));
    for (const bool onTwoThreads : {false, true}) {
        const DocumentFormats::Read read = readBack(*document, onTwoThreads);
        QVERIFY2(read.document, qPrintable(read.error));
        QCOMPARE(test.probe(*read.document), written);
        QCOMPARE(read.document->toPlainText(), document->toPlainText());
    }
}

void tst_OdtCodec::readsLibreOfficeFiles()
{
    const DocumentFormats::Read writer =
        DocumentFormats::readFile(QStringLiteral(QUILLMERE_FORMATS_DATA "/libreoffice-writer.odt"));
    QVERIFY2(writer.document, qPrintable(writer.error));
    QCOMPARE(writer.format, &DocumentFormats::odt());
    const QString text = writer.document->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Plain start, bold, italic, underline, strike.")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Café déjà vu, Привет мир")));
    QTextCursor cursor = writer.document->find(QStringLiteral("Step two"));
    QVERIFY(cursor.block().textList());
    QCOMPARE(cursor.block().textList()->itemText(cursor.block()), QStringLiteral("2."));
    cursor = writer.document->find(QStringLiteral("B2"));
    QVERIFY(cursor.currentTable());
    QCOMPARE(cursor.currentTable()->rows(), 2);
    QCOMPARE(cursor.currentTable()->columns(), 2);
    const PageSetup page = PageSetup::of(*writer.document);
    QCOMPARE(page.paperWidth, 11906);
    QCOMPARE(page.marginLeft, 1134);

    const DocumentFormats::Read notes = DocumentFormats::readFile(
        QStringLiteral(QUILLMERE_FORMATS_DATA "/libreoffice-footnotes.odt"));
    QVERIFY2(notes.document, qPrintable(notes.error));
    int noteParagraphs = 0;
    for (QTextBlock block = notes.document->begin(); block.isValid(); block = block.next())
        noteParagraphs += block.blockFormat().hasProperty(PageFurniture::NoteBody);
    QVERIFY(noteParagraphs >= 2);
}

// A span's format is its paragraph's with the span's own over it, whichever paragraph it is in.
void tst_OdtCodec::spansTakeTheirParagraphsFormat()
{
    const QByteArray styles =
        "<style:style style:name='P1' style:family='paragraph'>"
        "<style:text-properties fo:font-weight='bold'/></style:style>"
        "<style:style style:name='P2' style:family='paragraph'>"
        "<style:text-properties fo:font-style='italic'/></style:style>"
        "<style:style style:name='T1' style:family='text'>"
        "<style:text-properties style:text-underline-style='solid'/></style:style>";
    QByteArray body;
    for (const char* paragraph : {"P1", "P2", "P1"})
        body += QByteArray("<text:p text:style-name='") + paragraph +
                "'><text:span text:style-name='T1'>x</text:span></text:p>";
    const DocumentFormats::Read read = DocumentFormats::odt().read(
        package({{QStringLiteral("content.xml"), content(body, styles)}}), {});
    QVERIFY2(read.document, qPrintable(read.error));
    QString formats;
    for (QTextBlock block = read.document->begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat span = block.begin().fragment().charFormat();
        formats += QString::number(span.fontWeight()) + (span.fontItalic() ? "i" : "") +
                   (span.fontUnderline() ? "u " : " ");
    }
    QCOMPARE(formats, QStringLiteral("700u 400iu 700u "));
}

void tst_OdtCodec::collapsesWhiteSpaceAsOdfSays_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("nominal: a run of spaces is one")
        << QByteArray("<text:p>a  \n b</text:p>") << QStringLiteral("a b");
    QTest::newRow("nominal: spaces, tabs and breaks written as elements stay")
        << QByteArray("<text:p>a<text:tab/>b<text:s text:c='2'/>c<text:line-break/>d</text:p>")
        << QStringLiteral("a\tb  c\nd");
    QTest::newRow("edge: a space after a space in another run goes")
        << QByteArray("<text:p><text:span>a </text:span><text:span> b</text:span></text:p>")
        << QStringLiteral("a b");
    QTest::newRow("edge: the space ending a paragraph goes, whatever run holds it")
        << QByteArray("<text:p>a <text:span>b </text:span>  </text:p><text:p>c </text:p>")
        << QStringLiteral("a b\nc");
}

// Text goes in as ODF shows it, however its runs and paragraphs split it.
void tst_OdtCodec::collapsesWhiteSpaceAsOdfSays()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    const DocumentFormats::Read read =
        DocumentFormats::odt().read(package({{QStringLiteral("content.xml"), content(body)}}), {});
    QVERIFY2(read.document, qPrintable(read.error));
    QCOMPARE(read.document->toPlainText(), text);
}

void tst_OdtCodec::refusesWhatItCannotRead_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const QByteArray good =
        package({{QStringLiteral("content.xml"), content("<text:p>x</text:p>")}});
    QTest::newRow("truncated") << good.left(good.size() / 2) << QStringLiteral("damaged");
    QTest::newRow("not a zip") << QByteArray("PK\x03\x04 nothing more")
                               << QStringLiteral("damaged");
    QTest::newRow("no content") << package({{QStringLiteral("styles.xml"), "<a/>"}})
                                << QStringLiteral("content.xml");
    QTest::newRow("malformed XML")
        << package({{QStringLiteral("content.xml"), content("<text:p>x</text:span>")}})
        << QStringLiteral("content.xml");
    QByteArray deep;
    for (int level = 0; level < 300; ++level)
        deep += "<text:span>";
    QTest::newRow("too deep") << package(
                                     {{QStringLiteral("content.xml"), content("<text:p>" + deep)}})
                              << QStringLiteral("deeper");
    QTest::newRow("entity bomb") << package(
                                        {{QStringLiteral("content.xml"),
                                          "<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                                          "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY "
                                          "d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                                          "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>" +
                                              content("<text:p>&e;&e;&e;&e;</text:p>")}})
                                 << QStringLiteral("content.xml");
    QTest::newRow("encrypted")
        << package({{QStringLiteral("content.xml"), "\x01\x02"},
                    {QStringLiteral("META-INF/manifest.xml"),
                     "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:"
                     "manifest:1.0\"><manifest:file-entry manifest:full-path=\"content.xml\">"
                     "<manifest:encryption-data/></manifest:file-entry></manifest:manifest>"}})
        << QStringLiteral("password");
    QTest::newRow("outside path") << package({{QStringLiteral("../evil.xml"), "x"}})
                                  << QStringLiteral("outside");
    std::vector<std::pair<QString, QByteArray>> many;
    for (int part = 0; part <= OdtPackage::maxParts; ++part)
        many.emplace_back(QString::number(part), QByteArray());
    QTest::newRow("too many parts") << package(many) << QStringLiteral("parts");
    // A part that says it inflates to 3 GB, as a zip bomb does.
    QByteArray bomb = good;
    const qsizetype central = bomb.lastIndexOf("PK\x01\x02");
    const quint32 huge = 3u << 30;
    for (int byte = 0; byte < 4; ++byte)
        bomb[central + 24 + byte] = char(huge >> (8 * byte));
    QTest::newRow("zip bomb") << bomb << QStringLiteral("bomb");
}

void tst_OdtCodec::refusesWhatItCannotRead()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    const DocumentFormats::Read read = DocumentFormats::odt().read(data, {});
    QVERIFY(!read.document);
    QVERIFY2(read.error.contains(reason), qPrintable(read.error));
}

void tst_OdtCodec::progressMayCancel()
{
    const Document document(BlankDocument::create());
    QTextCursor cursor(document.get());
    for (int paragraph = 0; paragraph < 3000; ++paragraph)
        cursor.insertText(QStringLiteral("Paragraph %1\n").arg(paragraph));
    qint64 lastTold = 0;
    const QByteArray odt = DocumentFormats::odt().write(
        *document, [&](qint64 done, qint64 total) { lastTold = done * 100 / total; });
    QVERIFY(lastTold > 50);
    const Progress cancel = [](qint64, qint64) { throw ProgressCancelled(); };
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled, DocumentFormats::odt().write(*document, cancel));
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled, DocumentFormats::odt().read(odt, cancel));
    QVERIFY_THROWS_EXCEPTION(ProgressCancelled,
                             DocumentFormats::odt().read(paddedForTwoThreads(odt), cancel));
}

QTEST_MAIN(tst_OdtCodec)
#include "tst_odtcodec.moc"
