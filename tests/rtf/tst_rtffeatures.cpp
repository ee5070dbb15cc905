#include "RtfTestDocuments.h"

#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"
#include "formats/base/DocumentInfo.h"
#include "formats/base/ListMarker.h"
#include "formats/base/TextProperties.h"
#include "formats/rtf/RtfCharacterPolicy.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "platform/FontFallbacks.h"

#include <QFontInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace {

// A 1x1 PNG and the start of a JPEG: the reader checks signatures, not whole images.
const QByteArray s_pngHex = "89504e470d0a1a0a0000000d49484452000000010000000108020000009077"
                            "53de0000000c4944415408d763f8cfc000000301010018dd8db00000000049454e"
                            "44ae426082";
const QByteArray s_jpegHex = "ffd8ffe000104a46494600";

QString listName(const QTextList* list)
{
    switch (list->format().style()) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("*");
    case QTextListFormat::ListDecimal:
        return QStringLiteral("1.");
    case QTextListFormat::ListLowerAlpha:
        return QStringLiteral("a.");
    case QTextListFormat::ListUpperRoman:
        return QStringLiteral("I.");
    default:
        return QStringLiteral("?");
    }
}

QString blockSummary(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    QStringList parts;
    if (block.textList())
        parts << listName(block.textList());
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        parts << QStringLiteral("center");
    else if (alignment & Qt::AlignRight)
        parts << QStringLiteral("right");
    else if (alignment & Qt::AlignJustify)
        parts << QStringLiteral("justify");
    const std::pair<const char*, double> lengths[] = {{"li", format.leftMargin()},
                                                      {"ri", format.rightMargin()},
                                                      {"fi", format.textIndent()},
                                                      {"sb", format.topMargin()},
                                                      {"sa", format.bottomMargin()}};
    for (const auto& [name, pixels] : lengths) {
        if (pixels != 0)
            parts << QString::fromLatin1(name) + u'=' + QString::number(pixels);
    }
    if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        parts << QStringLiteral("sl=%1%").arg(format.lineHeight());
    else if (format.lineHeightType() == QTextBlockFormat::FixedHeight)
        parts << QStringLiteral("sl=%1px").arg(format.lineHeight());
    else if (format.lineHeightType() == QTextBlockFormat::MinimumHeight)
        parts << QStringLiteral("sl>=%1px").arg(format.lineHeight());
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        parts << QStringLiteral("page");
    QString text = parts.isEmpty() ? QString() : u'[' + parts.join(u' ') + QStringLiteral("] ");
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        QStringList attributes;
        if (format.isImageFormat()) {
            const QTextImageFormat image = format.toImageFormat();
            text += QStringLiteral("{image %1x%2}").arg(image.width()).arg(image.height());
            continue;
        }
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            attributes << QStringLiteral("super");
        if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            attributes << QStringLiteral("sub");
        if (format.fontWeight() > QFont::Medium)
            attributes << QStringLiteral("b");
        if (format.background().style() != Qt::NoBrush)
            attributes << QStringLiteral("bg") + format.background().color().name();
        if (format.isAnchor())
            attributes << QStringLiteral("link=") + format.anchorHref();
        text += attributes.isEmpty()
                    ? it.fragment().text()
                    : u'{' + attributes.join(u',') + u':' + it.fragment().text() + u'}';
    }
    return text;
}

// "#table RxC w=widths border=width" before a table, "<row,column>" before a cell's
// paragraphs, with "RxC" when the cell spans more.
QString tableSummary(const QTextBlock& block, const QTextTable** lastTable)
{
    const QTextCursor cursor(block);
    const QTextTable* table = cursor.currentTable();
    if (!table)
        return {};
    QString text;
    if (table != *lastTable) {
        QStringList widths;
        for (const QTextLength& width : table->format().columnWidthConstraints())
            widths << QString::number(qRound(width.rawValue()));
        text = QStringLiteral("#table %1x%2 w=%3 border=%4\n")
                   .arg(table->rows())
                   .arg(table->columns())
                   .arg(widths.join(u','))
                   .arg(table->format().border());
        *lastTable = table;
    }
    const QTextTableCell cell = table->cellAt(block.position());
    text += QStringLiteral("<%1,%2").arg(cell.row()).arg(cell.column());
    if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
        text += QStringLiteral(" %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
    return text + QStringLiteral("> ");
}

QString summary(const QTextDocument& document)
{
    QStringList blocks;
    const QTextTable* lastTable = nullptr;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks << tableSummary(block, &lastTable) + blockSummary(block);
    return blocks.join(u'\n');
}

// What the codec keeps that Qt does not show: "[title=... author=...]" first when the document
// has either, "[number text start=N level=N text=...]" before a list item, {family/hint:text} for
// a run in a named font, {hidden:text} for hidden text.
QString keptSummary(const QTextDocument& document)
{
    QStringList blocks;
    if (const DocumentInfo info = DocumentInfo::of(document); info != DocumentInfo())
        blocks << QStringLiteral("[title=%1 author=%2]").arg(info.title, info.author);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString text;
        if (const QTextList* list = block.textList()) {
            const QTextListFormat format = list->format();
            text = QStringLiteral("[%1 start=%2 level=%3")
                       .arg(ListMarker::text(block, *list))
                       .arg(format.property(TextProperties::ListStart).toInt())
                       .arg(format.indent());
            const QString levelText = format.stringProperty(TextProperties::ListLevelText);
            text += levelText.isEmpty() ? QString() : QStringLiteral(" ");
            for (const QChar c : levelText.mid(1))
                text += c.unicode() < 9 ? QString::number(c.unicode()) : QString(c);
            text += QStringLiteral("] ");
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString family = format.fontFamilies().toStringList().value(0);
            if (format.objectType() == TextProperties::HiddenTextObject)
                text += QStringLiteral("{hidden:") +
                        format.stringProperty(TextProperties::HiddenText) + u'}';
            else if (!family.isEmpty() && family != document.defaultFont().family())
                text += QStringLiteral("{%1/%2:%3}")
                            .arg(family)
                            .arg(format.fontStyleHint())
                            .arg(it.fragment().text());
            else
                text += it.fragment().text();
        }
        blocks << text;
    }
    return blocks.join(u'\n');
}

QByteArray listTable(const QByteArray& levels)
{
    return "{\\*\\listtable{\\list" + levels +
           "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}";
}

QByteArray rtf(const QByteArray& body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}" + body +
           "}";
}

} // namespace

/// Everything a document can hold and RTF can say: read from what peers write, and kept when
/// written back.
class RtfFeaturesTest : public QObject
{
    Q_OBJECT

private slots:
    void readAndKeep_data();
    void readAndKeep();
    void writtenForPeers_data();
    void writtenForPeers();
    void losses_data();
    void losses();
    void pageKept_data();
    void pageKept();
    void keptThroughWriting_data();
    void keptThroughWriting();
    void missingFontsFallBackByFamily_data();
    void missingFontsFallBackByFamily();
};

void RtfFeaturesTest::readAndKeep_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nominal: super- and subscript, switched off three ways")
        << rtf("x\\super 2\\nosupersub  H\\sub 2\\sub0 O {\\up6 a}{\\dn6 b}c")
        << "x{super:2} H{sub:2}O {super:a}{sub:b}c";
    QTest::newRow("nominal: \\highlight and \\cb colour the background")
        << rtf("{\\highlight1 hi}{\\cb1 cb} no") << "{bg#ff0000:hicb} no";
    QTest::newRow("nominal: alignment lasts until \\pard")
        << rtf("\\qc c\\par d\\par\\pard\\qr r\\par\\qj j\\par\\pard\\ql l")
        << "[center] c\n[center] d\n[right] r\n[justify] j\nl";
    QTest::newRow("nominal: formatting given after a paragraph's first text is its own")
        << rtf("x\\par a\\qc b\\par\\pard c\\par\\sa120\\par\\pard d")
        << "x\n[center] ab\nc\n[sa=8] \nd";
    QTest::newRow("nominal: indents and spacing in twips")
        << rtf("\\li300\\ri150\\fi-150\\sb60\\sa120 x\\par\\pard y")
        << "[li=20 ri=10 fi=-10 sb=4 sa=8] x\ny";
    QTest::newRow("nominal: \\ls through the list tables, numbered and bulleted")
        << rtf("{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext "
               "\\'02\\'00.;}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4}\\listid7}"
               "{\\list{\\listlevel\\levelnfc23{\\leveltext \\'01\\u8226 ?;}}\\listid9}}"
               "{\\*\\listoverridetable{\\listoverride\\listid9\\listoverridecount0\\ls1}"
               "{\\listoverride\\listid7\\listoverridecount0\\ls2}}"
               "{\\listtext 1.\\tab}\\ls2 one\\par{\\listtext 2.\\tab}two\\par\\pard"
               "{\\listtext \\'b7\\tab}\\ls1 dot\\par\\pard end")
        << "[1.] one\n[1.] two\n[*] dot\nend";
    QTest::newRow("nominal: legacy \\pn numbering styles")
        << rtf("{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}a\\par"
               "{\\pntext 2.\\tab}b\\par\\pard{\\pntext a)\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr}c\\par"
               "\\pard{\\*\\pn\\pnlvlbody\\pnucrm}{\\pntext I.\\tab}d\\par\\pard e")
        << "[1.] a\n[1.] b\n[a.] c\n[I.] d\ne";
    QTest::newRow("nominal: hyperlink field with its result linked")
        << rtf("see {\\field{\\*\\fldinst HYPERLINK \"https://example.org/a b\"}"
               "{\\fldrslt {\\ul\\cf1 the site}}} now")
        << "see {link=https://example.org/a b:the site} now";
    QTest::newRow("nominal: field instruction and result split into several groups")
        << rtf("{\\field{\\*\\fldinst {HYPER}{LINK }{\"http://x.org/\" \\\\o \"tip\"}}"
               "{\\fldrslt {one }{\\b two}}}")
        << "{link=http://x.org/:one }{b,link=http://x.org/:two}";
    QTest::newRow("nominal: \\plain inside a link keeps the link")
        << rtf("{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt \\plain x}}") << "{link=u:x}";
    QTest::newRow("nominal: other fields show their result as plain text")
        << rtf("p. {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}") << "p. 3";
    QTest::newRow("nominal: PNG and JPEG pictures with their sizes")
        << rtf("a{\\pict\\pngblip\\picw1\\pich1\\picwgoal150\\pichgoal300\n" + s_pngHex +
               "}b{\\*\\shppict{\\pict\\jpegblip\\picscalex50\\picscaley200\\picwgoal300"
               "\\pichgoal30 " +
               s_jpegHex + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}c")
        << "a{image 10x20}b{image 10x4}c";
    QTest::newRow("nominal: picture data given raw through \\bin")
        << rtf("{\\pict\\jpegblip\\bin4 \xff\xd8\xff\xe0}") << "{image 0x0}";
    QTest::newRow("nominal: \\page and \\sect break pages")
        << rtf("a\\page b\\sect c") << "a\n[page] b\n[page] c";
    QTest::newRow("nominal: a page break after a paragraph's end starts the next")
        << rtf("a\\par\\page b") << "a\n[page] b";
    QTest::newRow("nominal: a border thinner than a pixel is drawn a pixel wide")
        << rtf("a\\par\\trowd\\clbrdrt\\brdrs\\brdrw10\\cellx1500\\intbl x\\cell\\row\\pard b")
        << "a\n#table 1x1 w=100 border=1\n<0,0> x\nb";
    QTest::newRow("nominal: table rows and cells with their widths and borders")
        << rtf("a\\par\\trowd\\trgaph108\\clbrdrt\\brdrs\\brdrw15\\cellx1500\\cellx3000"
               "\\intbl A1\\cell B1\\cell\\row"
               "\\trowd\\cellx1500\\cellx3000\\intbl\\cell B2\\cell\\row\\pard after")
        << "a\n#table 2x2 w=100,100 border=1\n<0,0> A1\n<0,1> B1\n<1,0> \n<1,1> B2\nafter";
    QTest::newRow("nominal: paragraphs inside a cell stay in it")
        << rtf("a\\par\\trowd\\cellx1500\\cellx3000{\\pard\\intbl one\\par}{\\pard\\intbl "
               "two\\par}\\cell"
               "{\\pard\\intbl x}\\cell\\row\\pard end")
        << "a\n#table 1x2 w=100,100 border=0\n<0,0> one\n<0,0> two\n<0,1> x\nend";
    QTest::newRow("nominal: an outer row defined again after a nested row, as AbiWord writes")
        << rtf("a\\par\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap1 A1\\cell"
               "\\pard\\intbl\\itap2 "
               "n1\\nestcell\\itap2{\\*\\nesttableprops\\trowd\\itap2\\cellx4500"
               "\\nestrow}\\trowd\\itap1\\cellx3000\\cellx6000\\pard\\intbl\\itap1 "
               "B1\\cell\\row"
               "\\pard\\intbl\\itap1 A2\\cell B2\\cell\\row\\pard end")
        << "a\n#table 2x2 w=200,200 border=0\n<0,0> A1\n<0,1> n1\n<0,1> B1\n<1,0> A2\n"
           "<1,1> B2\nend";
    QTest::newRow("nominal: cells merged across and down, and a row of wider cells")
        << rtf("a\\par\\trowd\\clmgf\\cellx1500\\clmrg\\cellx3000\\clvmgf\\cellx4500"
               "\\intbl wide\\cell\\cell tall\\cell\\row"
               "\\trowd\\cellx1500\\cellx3000\\clvmrg\\cellx4500\\intbl x\\cell y\\cell\\cell\\row"
               "\\trowd\\cellx3000\\cellx4500\\intbl z\\cell w\\cell\\row\\pard end")
        << "a\n#table 3x3 w=100,100,100 border=0\n<0,0 1x2> wide\n<0,2 2x1> tall\n<1,0> x\n"
           "<1,1> y\n<2,0 1x2> z\n<2,2> w\nend";
    QTest::newRow("nominal: an empty merged cell keeps its span for the rows after it")
        << rtf("a\\par\\trowd\\clmgf\\cellx1500\\clmrg\\cellx3000\\intbl\\cell\\cell\\row"
               "\\trowd\\cellx1500\\cellx3000\\intbl l\\cell r\\cell\\row\\pard end")
        << "a\n#table 2x2 w=100,100 border=0\n<0,0 1x2> \n<1,0> l\n<1,1> r\nend";
    QTest::newRow("nominal: a row's new edge splits a column above it")
        << rtf("a\\par\\trowd\\cellx3000\\intbl top\\cell\\row"
               "\\trowd\\cellx1500\\cellx3000\\intbl l\\cell r\\cell\\row\\pard end")
        << "a\n#table 2x2 w=100,100 border=0\n<0,0 1x2> top\n<1,0> l\n<1,1> r\nend";
    QTest::newRow("nominal: a nested table's cells are paragraphs of the outer cell")
        << rtf("a\\par\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell"
               "{\\*\\nesttableprops\\trowd\\cellx500\\cellx1000\\nestrow}"
               "\\pard\\intbl outer\\cell o2\\cell\\row\\pard end")
        << "a\n#table 1x2 w=200,200 border=0\n<0,0> n1\n<0,0> n2\n<0,0> outer\n<0,1> o2\nend";
    QTest::newRow("nominal: style sheet formatting, with \\sbasedon")
        << rtf("{\\stylesheet{\\s0\\b\\fs24 Normal;}{\\s1\\sbasedon0\\i Quote;}}"
               "\\pard\\plain\\s0 a\\par\\pard\\plain\\s1 q")
        << "{b:a}\nq";
}

void RtfFeaturesTest::readAndKeep()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    RtfTestDocuments::checkReadAndKept(rtf, expected, summary);
}

void RtfFeaturesTest::writtenForPeers_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QByteArrayList>("written");
    QTest::newRow("nominal: sub- and superscript in their own groups")
        << rtf("H\\sub 2\\nosupersub O x\\super 2") << QByteArrayList{"H{\\sub 2}O x{\\super 2}"};
    QTest::newRow("nominal: highlight as a colour table index")
        << rtf("{\\cb1 x}") << QByteArrayList{"\\red255\\green0\\blue0;", "\\highlight"};
    QTest::newRow("nominal: paragraph properties once per change")
        << rtf("\\qc\\li300\\sa120 a\\par b\\par\\pard c")
        << QByteArrayList{"\\pard\\qc\\li300\\sa120\\f0\\fs24 a\\par\nb\\par\n\\pard c"};
    QTest::newRow("nominal: numbered list with its number text, from its start, and its list "
                  "table entry")
        << rtf("{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart3{\\pntxta )}}a\\par b")
        << QByteArrayList{"{\\listlevel\\levelnfc4\\levelnfcn4\\leveljc0\\levelfollow0"
                          "\\levelstartat3{\\leveltext\\'02\\'00);}{\\levelnumbers\\'01;}",
                          "{\\listoverride\\listid1\\listoverridecount0\\ls1}",
                          "{\\listtext c)\\tab}\\ls1\\fi-360\\li720", "{\\listtext d)\\tab}"};
    QTest::newRow("nominal: hyperlink as a field")
        << rtf("{\\field{\\*\\fldinst HYPERLINK \"http://x.org/?q=\\\"a\\\"\"}{\\fldrslt x}}")
        << QByteArrayList{"{\\field{\\*\\fldinst{HYPERLINK \"http://x.org/?q=a\"}}"
                          "{\\fldrslt{"};
    QTest::newRow("nominal: a hairline border drawn a pixel wide and written as it was")
        << rtf("a\\par\\trowd\\clbrdrt\\brdrs\\brdrw10\\cellx1500\\intbl x\\cell\\row\\pard b")
        << QByteArrayList{"\\clbrdrt\\brdrs\\brdrw10"};
    QTest::newRow("nominal: pictures as hex with their goal sizes")
        << rtf("{\\pict\\pngblip\\picwgoal150\\pichgoal300 " + s_pngHex + "}")
        << QByteArrayList{"{\\pict\\pngblip\\picwgoal150\\pichgoal300\n" + s_pngHex.left(128)};
}

void RtfFeaturesTest::writtenForPeers()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QByteArrayList, written);
    const QByteArray output = RtfWriter::write(*RtfTestDocuments::read(rtf));
    for (const QByteArray& part : written)
        QVERIFY2(output.contains(part), output.constData());
}

void RtfFeaturesTest::losses_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nominal: nothing lost")
        << rtf("{\\b x}{\\pict\\pngblip " + s_pngHex + "}") << QStringList();
    QTest::newRow("nominal: each loss named once, in order of appearance")
        << rtf("{\\pict\\wmetafile8 01}{\\object x}\\trowd\\intbl a\\cell\\row{\\pict\\dibitmap 02}"
               "{\\object y}\\trowd b\\cell\\row")
        << QStringList{"pictures other than PNG and JPEG", "embedded objects"};
    QTest::newRow("robustness: picture data that is not the image it claims")
        << rtf("{\\pict\\pngblip 00112233}{\\pict\\jpegblip 89504e47}")
        << QStringList{"pictures other than PNG and JPEG"};
    QTest::newRow("robustness: odd-length picture data keeps its whole bytes")
        << rtf("{\\pict\\jpegblip ffd8ffe}") << QStringList();
}

void RtfFeaturesTest::losses()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    const auto document = RtfTestDocuments::create();
    RtfReader reader;
    QVERIFY(reader.read(rtf, document.get()));
    QCOMPARE(reader.losses(), expected);
}

void RtfFeaturesTest::pageKept_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nominal: paper and margins")
        << rtf("\\paperw11906\\paperh16838\\margl1134\\margr567\\margt720\\margb1440 x")
        << "11906x16838 1134 567 720 1440\nx";
    QTest::newRow("nominal: landscape, margins left to RTF's defaults")
        << rtf("\\paperw16838\\paperh11906\\landscape x") << "16838x11906 1800 1800 1440 1440 L\nx";
    QTest::newRow("nominal: the first section's page, not a later one's")
        << rtf("\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn1000\\lndscpsxn a\\sect\\sectd"
               "\\pgwsxn5000\\margrsxn99 b")
        << "11906x16838 1000 1800 1440 1440 L\na\n[page] b";
    QTest::newRow("nominal: a file silent on its page keeps none") << rtf("x") << "x";
    QTest::newRow("nominal: \\page, also before \\pard")
        << rtf("a\\page\\pard b\\par c") << "a\n[page] b\nc";
    QTest::newRow("nominal: \\pagebb holds until \\pard")
        << rtf("a\\par\\pagebb b\\par c\\par\\pard d") << "a\n[page] b\n[page] c\nd";
    QTest::newRow("nominal: a section that says \\sbknone goes on on the page")
        << rtf("a\\sect\\sectd\\sbknone b\\sect\\sectd\\sbkodd c") << "a\nb\n[page] c";
    QTest::newRow("nominal: single, 1.5 and double spacing")
        << rtf("\\sl240\\slmult1 a\\par\\sl360\\slmult1 b\\par\\sl480\\slmult1 c\\par\\pard d")
        << "[sl=100%] a\n[sl=150%] b\n[sl=200%] c\nd";
    QTest::newRow("nominal: exact and at-least spacing")
        << rtf("\\sl-300\\slmult0 a\\par\\pard\\sl300 b") << "[sl=20px] a\n[sl>=20px] b";
    QTest::newRow("nominal: space before and after") << rtf("\\sb120\\sa240 a") << "[sb=8 sa=16] a";
}

// Through the RTF format as a file is opened and saved, page and all.
void RtfFeaturesTest::pageKept()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const auto pageAndText = [](const QTextDocument& document) {
        if (!PageSetup::isKeptIn(document))
            return summary(document);
        const PageSetup page = PageSetup::of(document);
        return QStringLiteral("%1x%2 %3 %4 %5 %6%7\n")
                   .arg(page.paperWidth)
                   .arg(page.paperHeight)
                   .arg(page.marginLeft)
                   .arg(page.marginRight)
                   .arg(page.marginTop)
                   .arg(page.marginBottom)
                   .arg(page.landscape ? " L" : "") +
               summary(document);
    };
    const DocumentFormats::Format& format = DocumentFormats::rtf();
    const DocumentFormats::Read read = format.read(rtf, {});
    QVERIFY(read.document);
    QVERIFY(read.losses.isEmpty());
    QCOMPARE(pageAndText(*read.document), expected);
    const QByteArray written = format.write(*read.document, {});
    const DocumentFormats::Read again = format.read(written, {});
    QCOMPARE(pageAndText(*again.document), expected);
    QCOMPARE(format.write(*again.document, {}), written);
}

void RtfFeaturesTest::keptThroughWriting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    // Items are numbered from the list's start, which is kept for writing.
    QTest::newRow("nominal: a) starting at 3")
        << rtf(listTable("{\\listlevel\\levelnfc4\\levelstartat3{\\leveltext\\'02\\'00);}}") +
               "\\pard\\ls1 one\\par two\\par\\pard end")
        << "[c) start=3 level=1] one\n[d) start=3 level=1] two\nend";
    QTest::newRow("nominal: IV. starting at 4")
        << rtf(listTable("{\\listlevel\\levelnfc1\\levelstartat4{\\leveltext\\'02\\'00.;}}") +
               "\\pard\\ls1 one\\par\\pard end")
        << "[IV. start=4 level=1] one\nend";
    QTest::newRow("nominal: (i) and (A) on the second level")
        << rtf(listTable("{\\listlevel\\levelnfc2{\\leveltext\\'03(\\'00);}}"
                         "{\\listlevel\\levelnfc3{\\leveltext\\'03(\\'01);}}") +
               "\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 sub\\par\\pard end")
        << "[(i) start=0 level=1] one\n[(A) start=0 level=2] sub\nend";
    QTest::newRow("nominal: 1.1. shown and kept as the number text it is")
        << rtf(listTable("{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                         "{\\listlevel\\levelnfc0{\\leveltext\\'04\\'00.\\'01.;}}") +
               "\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 deep\\par deeper\\par"
               "\\pard\\ls1 two\\par\\pard\\ls1\\ilvl1 again\\par\\pard end")
        << "[1. start=0 level=1] one\n[1.1. start=0 level=2 0.1.] deep\n"
           "[1.2. start=0 level=2 0.1.] deeper\n[2. start=0 level=1] two\n"
           "[2.1. start=0 level=2 0.1.] again\nend";
    QTest::newRow("nominal: a level goes on counting after a deeper level's items, which start "
                  "again under it")
        << rtf(listTable("{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                         "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01);}}") +
               "\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 sub\\par sub\\par"
               "\\pard\\ls1 two\\par\\pard\\ls1\\ilvl1 sub\\par\\pard end")
        << "[1. start=0 level=1] one\n[a) start=0 level=2] sub\n[b) start=0 level=2] sub\n"
           "[2. start=0 level=1] two\n[a) start=0 level=2] sub\nend";
    QTest::newRow("nominal: two lists alike stay two, each numbered from its start")
        << rtf("{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}"
               "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid2}}"
               "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
               "{\\listoverride\\listid2\\listoverridecount0\\ls2}}"
               "\\pard\\ls1 one\\par\\pard\\ls2 two\\par\\pard end")
        << "[1. start=0 level=1] one\n[1. start=0 level=1] two\nend";
    QTest::newRow("nominal: older lists' text before and after the number, and start")
        << rtf("{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart2{\\pntxtb [}{\\pntxta ]}}x\\par\\pard end")
        << "[[B] start=2 level=1] x\nend";
    QTest::newRow("nominal: font families kept with their kind")
        << rtf("{\\fonttbl{\\f1\\froman Times New Roman;}{\\f2\\fswiss Arial;}"
               "{\\f3\\fmodern Courier New;}}\\f1 a\\f2 b\\f3 c")
        << "{Times New Roman/1:a}{Arial/0:b}{Courier New/7:c}";
    QTest::newRow("nominal: title and author, among the other info Word writes")
        << rtf("{\\info{\\title Caf\\'e9 \\u8220?Q\\u8221?}{\\author Jo Doe}{\\operator Jo}"
               "{\\creatim\\yr2014\\mo3}{\\version1}}x")
        << "[title=Caf\u00e9 \u201cQ\u201d author=Jo Doe]\nx";
    QTest::newRow("nominal: a title alone, its leading space kept; none outside \\info")
        << rtf("{\\info{\\title  Draft}}{\\*\\author Not}{\\title Not}x")
        << "[title= Draft author=]\nx";
    QTest::newRow("nominal: hidden text kept out of sight")
        << rtf("seen {\\v hidden words}more{\\v\\b x}")
        << "seen {hidden:hidden words}more{hidden:x}";
}

void RtfFeaturesTest::keptThroughWriting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    RtfTestDocuments::checkReadAndKept(rtf, expected, keptSummary);
}

void RtfFeaturesTest::missingFontsFallBackByFamily_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("generic");
    QTest::newRow("nominal: Times New Roman in a serif face")
        << rtf("{\\fonttbl{\\f1\\froman Times New Roman;}}\\f1 x") << "serif";
    QTest::newRow("nominal: a serif font not installed")
        << rtf("{\\fonttbl{\\f1\\froman Quillmere Missing Serif;}}\\f1 x") << "serif";
    QTest::newRow("nominal: a fixed font not installed")
        << rtf("{\\fonttbl{\\f1\\fmodern Quillmere Missing Mono;}}\\f1 x") << "monospace";
}

// A run's face is the one the family's kind resolves to on this machine.
void RtfFeaturesTest::missingFontsFallBackByFamily()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, generic);
    FontFallbacks::install();
    const auto document = RtfTestDocuments::read(rtf);
    QTextCursor cursor(document.get());
    cursor.movePosition(QTextCursor::NextCharacter);
    const QFont font = cursor.charFormat().font();
    QFont genericFont(generic);
    genericFont.setStyleHint(generic == "serif" ? QFont::Serif : QFont::Monospace);
    // A face that measures as the named one does comes first, where it is installed.
    const QStringList faces = QFont::substitutes(font.family()) << QFontInfo(genericFont).family();
    QVERIFY2(faces.contains(QFontInfo(font).family(), Qt::CaseInsensitive),
             qPrintable(QFontInfo(font).family()));
}

QTEST_MAIN(RtfFeaturesTest)
#include "tst_rtffeatures.moc"
