#include "RtfTestDocuments.h"

#include "formats/BlankDocument.h"
#include "formats/rtf/RtfDocumentCache.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "tools/rtf/DocumentJson.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace {

// One run in the tool's JSON; attributes are b, i, u, s, #rrggbb, font=NAME and size=POINTS.
QByteArray run(const QString& text, const QString& attributes = {})
{
    const QStringList list = attributes.split(u',', Qt::SkipEmptyParts);
    QString color = QStringLiteral("#000000");
    QString font = BlankDocument::defaultFont().family();
    QString size = QString::number(BlankDocument::defaultFont().pointSize());
    for (const QString& attribute : list) {
        if (attribute.startsWith(u'#'))
            color = attribute;
        else if (attribute.startsWith(QLatin1String("font=")))
            font = attribute.mid(5);
        else if (attribute.startsWith(QLatin1String("size=")))
            size = attribute.mid(5);
    }
    const auto flag = [&](const char* name) {
        return list.contains(QLatin1String(name)) ? "true" : "false";
    };
    const QByteArray quotedText = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return "{\"text\":" + quotedText.mid(1, quotedText.size() - 2) + ",\"bold\":" + flag("b") +
           ",\"italic\":" + flag("i") + ",\"underline\":" + flag("u") + ",\"strike\":" + flag("s") +
           ",\"color\":\"" + color.toUtf8() + "\",\"font\":\"" + font.toUtf8() +
           "\",\"size\":" + size.toUtf8() + "}";
}

QByteArray paragraph(bool bullet, const QByteArrayList& runs)
{
    return QByteArray("{\"bullet\":") +
           (bullet ? "true,\"list\":\"bullet\",\"marker\":\"\u2022\"" : "false") + ",\"runs\":[" +
           runs.join(',') + "]}";
}

QByteArray document(const QByteArrayList& paragraphs)
{
    return "{\"paragraphs\":[" + paragraphs.join(',') + "]}";
}

QString randomText(QRandomGenerator& random)
{
    static const QStringList pieces = {
        QStringLiteral("plain ascii"), QStringLiteral("back\\slash {braces} ;semi?"),
        QStringLiteral("\t"),          QString(QChar::LineSeparator),
        QStringLiteral("café crème"),  QStringLiteral("Съешь ещё"),
        QStringLiteral("Καλημέρα"),    QStringLiteral("漢字かなカナ"),
        QStringLiteral("😀🎉"),          QStringLiteral("a\u00a0b"),
        QStringLiteral("1-2 -3"),      QStringLiteral(" "),
    };
    QString text;
    for (int count = random.bounded(1, 4); count > 0; --count)
        text += pieces.at(random.bounded(int(pieces.size())));
    return text;
}

QTextCharFormat randomFormat(QRandomGenerator& random)
{
    static const QStringList families = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                         QStringLiteral("Fixedsys"), QStringLiteral("MS ゴシック")};
    QTextCharFormat format;
    if (random.bounded(3) == 0)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(random.bounded(4) == 0);
    format.setFontUnderline(random.bounded(4) == 0);
    format.setFontStrikeOut(random.bounded(6) == 0);
    if (random.bounded(3) == 0)
        format.setForeground(QColor::fromRgb(random.bounded(1 << 24)));
    if (random.bounded(2) == 0)
        format.setFontFamilies({families.at(random.bounded(int(families.size())))});
    if (random.bounded(2) == 0)
        format.setFontPointSize(random.bounded(2, 145) / 2.0);
    return format;
}

std::unique_ptr<QTextDocument> randomDocument(quint32 seed)
{
    QRandomGenerator random(seed);
    auto result = RtfTestDocuments::create();
    QTextCursor cursor(result.get());
    QTextList* list = nullptr;
    for (int paragraphs = random.bounded(1, 12); paragraphs > 0; --paragraphs) {
        for (int runs = random.bounded(0, 6); runs > 0; --runs)
            cursor.insertText(randomText(random), randomFormat(random));
        if (random.bounded(3) != 0)
            list = nullptr;
        else if (list)
            list->add(cursor.block());
        else
            list = cursor.createList(QTextListFormat::ListDisc);
        if (paragraphs > 1)
            cursor.insertBlock(QTextBlockFormat(), randomFormat(random));
    }
    return result;
}

void verifyRewriteIsIdentical(const QTextDocument& original)
{
    const QByteArray rtf = RtfWriter::write(original);
    const auto read = RtfTestDocuments::read(rtf);
    QCOMPARE(QString::fromUtf8(RtfWriter::write(*read)), QString::fromUtf8(rtf));
}

} // namespace

/// Writing and reading documents: round trips, what the writer emits, what the reader understands.
class RtfCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTripJson_data();
    void roundTripJson();
    void roundTripRandom_data();
    void roundTripRandom();
    void roundTripHtml_data();
    void roundTripHtml();
    void fontNamesDifferingInWhiteSpaceAreOneFont();
    void writerOutput_data();
    void writerOutput();
    void writerIsDeterministic();
    void keptRtfFollowsEveryEdit_data();
    void keptRtfFollowsEveryEdit();
    void read_data();
    void read();
    void readBulletsShareOneDiscList();
    void readReplacesContentAndKeepsSettings();
    void notRtf_data();
    void notRtf();
};

void RtfCodecTest::roundTripJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("nominal: every character format mixed in one paragraph") << document({paragraph(
        false, {run("plain "), run("bold ", "b"), run("italic ", "i"), run("under ", "u"),
                run("struck ", "s"), run("red ", "#ff0000"), run("arial ", "font=Arial"),
                run("big", "size=20"), run(" small", "size=6.5"),
                run("all", "b,i,u,s,#12ab34,font=Times New Roman,size=11")})});
    QTest::newRow("nominal: bullets between plain paragraphs")
        << document({paragraph(false, {run("intro")}), paragraph(true, {run("one", "b")}),
                     paragraph(true, {run("two")}), paragraph(false, {run("middle")}),
                     paragraph(true, {run("three", "i")})});
    QTest::newRow("nominal: tabs and line breaks inside paragraphs")
        << document({paragraph(false, {run("a\tb\t\tc"), run("\u2028next line", "b")}),
                     paragraph(false, {run("\ttab first\u2028")})});
    QTest::newRow("nominal: empty paragraphs, bulleted or not")
        << document({paragraph(false, {}), paragraph(true, {}), paragraph(false, {run("x")}),
                     paragraph(false, {})});
    QTest::newRow("nominal: Latin accents")
        << document({paragraph(false, {run("Ça déçoit, naïve façade: œuvre, Ångström, ñ ß ÿ")})});
    QTest::newRow("nominal: Cyrillic")
        << document({paragraph(false, {run("Съешь же ещё этих мягких французских булок", "i")})});
    QTest::newRow("nominal: Greek")
        << document({paragraph(true, {run("Ξεσκεπάζω την ψυχοφθόρα βδελυγμία", "font=Arial")})});
    QTest::newRow("nominal: CJK") << document(
        {paragraph(false, {run("日本語のテキスト、中文字符，한국어", "font=MS 明朝")})});
    QTest::newRow("nominal: emoji beyond the BMP")
        << document({paragraph(false, {run("smile 😀, flag 🇫🇷, 𝄞 clef", "size=14")})});
    QTest::newRow("nominal: RTF syntax characters as text")
        << document({paragraph(false, {run("{\\rtf1 not a group} \\par ;?\\'41 \\u65?")})});
    QTest::newRow("nominal: text starting with digits, spaces and minus after formatting")
        << document({paragraph(false, {run("x", "b"), run("42"), run(" lead", "i"), run("-7")})});
    QTest::newRow("nominal: font names needing escapes")
        << document({paragraph(false, {run("a", "font=Weird;Name{x}"), run("b", "font=Ünïcode")})});
}

void RtfCodecTest::roundTripJson()
{
    QFETCH(QByteArray, json);
    const auto original = RtfTestDocuments::fromJson(json);
    const QByteArray rtf = RtfWriter::write(*original);
    const auto read = RtfTestDocuments::read(rtf);
    QCOMPARE(QJsonDocument::fromJson(DocumentJson::toJson(*read)), QJsonDocument::fromJson(json));
    QCOMPARE(QString::fromUtf8(RtfWriter::write(*read)), QString::fromUtf8(rtf));
}

void RtfCodecTest::roundTripRandom_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 60; ++seed)
        QTest::addRow("nominal: random document %u", seed) << seed;
}

void RtfCodecTest::roundTripRandom()
{
    QFETCH(quint32, seed);
    const auto original = randomDocument(seed);
    const QByteArray rtf = RtfWriter::write(*original);
    const auto read = RtfTestDocuments::read(rtf);
    QCOMPARE(QString::fromUtf8(DocumentJson::toJson(*read)),
             QString::fromUtf8(DocumentJson::toJson(*original)));
    QCOMPARE(QString::fromUtf8(RtfWriter::write(*read)), QString::fromUtf8(rtf));
}

void RtfCodecTest::roundTripHtml_data()
{
    // Content pasted from elsewhere: formats the program never makes itself must still be stable.
    QTest::addColumn<QString>("html");
    QTest::newRow("nominal: table cells") << QStringLiteral(
        "<p>before</p><table><tr><td>a</td><td><b>b</b></td></tr></table><p>after</p>");
    QTest::newRow("nominal: image placeholder")
        << QStringLiteral("<p>x<img src=\"missing.png\">y</p>");
    QTest::newRow("nominal: numbered and nested lists")
        << QStringLiteral("<ol><li>one</li><li>two<ul><li>inner</li></ul></li></ol>");
    QTest::newRow("nominal: headings, pixel sizes and wavy underlines")
        << QStringLiteral("<h1>Title</h1><p><span style=\"font-size:20px\">px</span>"
                          "<span style=\"text-decoration: underline wavy\">wave</span></p>");
    QTest::newRow("nominal: semi-bold, transparent and background colours")
        << QStringLiteral("<p><span style=\"font-weight:600\">semi</span>"
                          "<span style=\"color:transparent;background:#ff0\">bg</span></p>");
    QTest::newRow("nominal: font family lists")
        << QStringLiteral("<p><span style=\"font-family:'Noto Sans','DejaVu Sans'\">x</span></p>");
}

void RtfCodecTest::roundTripHtml()
{
    QFETCH(QString, html);
    const auto original = RtfTestDocuments::create();
    original->setHtml(html);
    verifyRewriteIsIdentical(*original);
}

void RtfCodecTest::fontNamesDifferingInWhiteSpaceAreOneFont()
{
    const auto original = RtfTestDocuments::create();
    QTextCursor cursor(original.get());
    for (const QString& family :
         {QStringLiteral(" \u00a0Odd;{Name}\\\t\u2028 "), QStringLiteral("Odd;{Name}\\"),
          QStringLiteral("A\u0001B"), QStringLiteral("AB")}) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        cursor.insertText(QStringLiteral("x"), format);
    }
    verifyRewriteIsIdentical(*original);
    const auto read = RtfTestDocuments::read(RtfWriter::write(*original));
    QCOMPARE(RtfTestDocuments::summary(*read), QStringLiteral("{Odd;{Name}\\,9:xx}{AB,9:xx}"));
}

void RtfCodecTest::writerOutput_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArrayList>("expected");
    const QByteArray simple = document({paragraph(false, {run("x")})});
    QTest::newRow("nominal: header with code page, default font 0 and tables")
        << simple
        << QByteArrayList{"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil " +
                          BlankDocument::defaultFont().family().toLatin1() +
                          ";}}{\\colortbl;\\red0\\green0\\blue0;}"};
    QTest::newRow("nominal: effective font and size on every run")
        << simple << QByteArrayList{"\\cf1\\f0\\fs18 x}"};
    QTest::newRow("nominal: sizes in half-points")
        << document({paragraph(false, {run("a", "size=10.5"), run("b", "size=72")})})
        << QByteArrayList{"\\fs21 a", "\\fs144 b"};
    QTest::newRow("nominal: non-ASCII as signed \\uN with a fallback")
        << document({paragraph(false, {run("é€\uffff")})})
        << QByteArrayList{"\\uc1", "\\u233?\\u8364?\\u-1?"};
    QTest::newRow("nominal: characters beyond the BMP as surrogate pairs")
        << document({paragraph(false, {run("😀")})}) << QByteArrayList{"\\u-10179?\\u-8704?"};
    QTest::newRow("nominal: syntax characters escaped")
        << document({paragraph(false, {run("\\{}")})}) << QByteArrayList{"\\fs18\\\\\\{\\}}"};
    QTest::newRow("nominal: tab, line break and paragraph break")
        << document({paragraph(false, {run("a\tb\u2028c")}), paragraph(false, {run("d")})})
        << QByteArrayList{"a\\tab b\\line c\\par"};
    QTest::newRow("nominal: bullet text and bullet list table entry")
        << document({paragraph(true, {run("item")})})
        << QByteArrayList{"{\\listtext \\'95\\tab}\\ls1", "\\levelnfc23",
                          "{\\leveltext\\'01\\u8226?;}"};
    QTest::newRow("nominal: formats switched on and off")
        << document({paragraph(false, {run("a", "b,i,u,s"), run("b")})})
        << QByteArrayList{"\\b\\i\\ul\\strike", "\\b0\\i0\\ulnone\\strike0 b"};
    QTest::newRow("nominal: colours and fonts in order of first use")
        << document(
               {paragraph(false, {run("a", "#0000ff,font=Zeta"), run("b", "#ff0000,font=Alpha")})})
        << QByteArrayList{"{\\f1\\fnil Zeta;}{\\f2\\fnil Alpha;}",
                          "\\red0\\green0\\blue255;\\red255\\green0\\blue0;"};
}

void RtfCodecTest::writerOutput()
{
    QFETCH(QByteArray, json);
    QFETCH(QByteArrayList, expected);
    const QByteArray rtf = RtfWriter::write(*RtfTestDocuments::fromJson(json));
    for (const QByteArray& part : expected)
        QVERIFY2(rtf.contains(part), rtf.constData());
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl") && rtf.endsWith('}'),
             rtf.constData());
    const bool sevenBit =
        std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; });
    QVERIFY(sevenBit);
}

void RtfCodecTest::writerIsDeterministic()
{
    const auto first = randomDocument(7);
    const auto second = randomDocument(7);
    QCOMPARE(RtfWriter::write(*first), RtfWriter::write(*second));
    QCOMPARE(RtfWriter::write(*first), RtfWriter::write(*first));
}

void RtfCodecTest::read_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nominal: \\'hh under ansicpg1252")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80 \\'93x\\'94}")
        << QStringLiteral("café € “x”");
    QTest::newRow("nominal: \\'hh under ansicpg1251")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")
        << QStringLiteral("Привет");
    QTest::newRow("nominal: \\'hh under ansicpg1253")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1253 \\'c3\\'e5\\'e9\\'e1}") << QStringLiteral("Γεια");
    QTest::newRow("nominal: raw 8-bit text in the document code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}") << QStringLiteral("При");
    QTest::newRow("nominal: a font's charset overrides the document code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}"
                      "{\\f1\\fcharset204 Arial Cyr;}}\\f1 \\'cf\\'f0\\f0 \\'e9}")
        << QStringLiteral("{Arial Cyr:Пр}{Arial:é}");
    QTest::newRow("nominal: a Central European font charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial CE;}}\\f0 \\'b3\\'f3d\\'9f}")
        << QStringLiteral("{Arial CE:łódź}");
    QTest::newRow("nominal: double-byte 932 pairs decoded together")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\'8c\\'ea}")
        << QStringLiteral("日本語");
    QTest::newRow("nominal: 932 trail bytes written raw or as \\\\")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'83A\\'95\\\\}") << QStringLiteral("ア表");
    QTest::newRow("nominal: 932 from a font charset, with a \\uN fallback pair")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f1\\fcharset128 MS Mincho;}}"
                      "\\f1\\uc2\\u26085\\'93\\'fa\\'96\\'7b}")
        << QStringLiteral("{MS Mincho:日本}");
    QTest::newRow("nominal: Mac Roman")
        << QByteArray("{\\rtf1\\mac caf\\'8e}") << QStringLiteral("café");
    QTest::newRow("nominal: \\uN positive, negative and as a surrogate pair")
        << QByteArray("{\\rtf1 \\u26085?\\u-30050?\\u-10179?\\u-8704?}") << QStringLiteral("日語😀");
    QTest::newRow("nominal: \\uc1 skips the fallback and keeps what follows")
        << QByteArray("{\\rtf1 a\\u160?c}") << QStringLiteral("a\u00a0c");
    QTest::newRow("nominal: a \\'hh fallback counts as one character")
        << QByteArray("{\\rtf1 \\u8364\\'80x}") << QStringLiteral("€x");
    QTest::newRow("nominal: a control word fallback counts as one character")
        << QByteArray("{\\rtf1\\uc2 \\u233\\tab x y}") << QStringLiteral("é y");
    QTest::newRow("nominal: \\uc0 skips nothing")
        << QByteArray("{\\rtf1\\uc0\\u233 e}") << QStringLiteral("ée");
    QTest::newRow("nominal: \\uc is scoped to its group")
        << QByteArray("{\\rtf1 {\\uc3 \\u233 abcd}\\u233 xy}") << QStringLiteral("édéy");
    QTest::newRow("nominal: fallback skipping stops at a brace")
        << QByteArray("{\\rtf1\\uc4 \\u233{ab}cd}") << QStringLiteral("éabcd");
    QTest::newRow("nominal: destinations never reach the body")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Fixedsys;}}{\\colortbl;\\red1\\green2\\blue3;}"
                      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\header H}"
                      "{\\footer F}{\\*\\generator G;}{\\pict\\pngblip 89504e47}{\\*\\anything U}"
                      "{\\listtext L}{\\*\\listtable{\\list{\\listlevel{\\leveltext X;}}}}"
                      "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}} {\\v hidden}body}")
        << QStringLiteral("link body");
    QTest::newRow("nominal: \\plain resets character formatting")
        << QByteArray(
               "{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}{\\colortbl;\\red255\\green0"
               "\\blue0;}\\f1\\fs40\\b\\i\\ul\\strike\\cf1 A\\plain B}")
        << QStringLiteral("{b,i,u,s,#ff0000,Times,20:A}{Arial:B}");
    QTest::newRow("nominal: groups restore character formatting")
        << QByteArray("{\\rtf1 a{\\b b{\\i c}d}e}") << QStringLiteral("a{b:b}{b,i:c}{b:d}e");
    QTest::newRow("nominal: toggles and their 0 forms")
        << QByteArray("{\\rtf1\\b a\\b0 b\\i1 c\\i0 d\\ul e\\ulnone f\\uldb g\\ul0 h\\strike i"
                      "\\strike0 j}")
        << QStringLiteral("{b:a}b{i:c}d{u:e}f{u:g}h{s:i}j");
    QTest::newRow("nominal: colour, font and size from their tables")
        << QByteArray(
               "{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman{\\*\\panose 02020603}Times New"
               " Roman{\\*\\falt Times};}{\\colortbl;\\red0\\green128\\blue255;\\red9\\green9"
               "\\blue9;}\\cf2\\f1\\fs21 x\\cf1\\f0\\fs48 y\\cf0 z}")
        << QStringLiteral("{#090909,Times New Roman,10.5:x}{#0080ff,Arial,24:y}{Arial,24:z}");
    QTest::newRow("nominal: \\deff picks the font of runs without \\f")
        << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}x}")
        << QStringLiteral("{Times:x}");
    QTest::newRow("nominal: runs without \\f or \\fs use the document default")
        << QByteArray("{\\rtf1\\ansi x}") << QStringLiteral("x");
    QTest::newRow("nominal: \\pard resets the paragraph without ending it")
        << QByteArray("{\\rtf1{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}A\\pard B\\par C}")
        << QStringLiteral("AB\nC");
    QTest::newRow("nominal: paragraph properties last until \\pard")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlblt}A\\par B\\par\\pard C}")
        << QStringLiteral("* A\n* B\nC");
    QTest::newRow("nominal: legacy bullets as written by other word processors")
        << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
                      "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                      "\\fi-720\\li720 One\\par{\\pntext\\f1\\'B7\\tab}Two\\par\\pard Three\\par}")
        << QStringLiteral("* {Arial:One}\n* {Arial:Two}\n{Arial:Three}\n");
    QTest::newRow("nominal: \\ls of a list no table declares is no list, whatever its \\listtext")
        << QByteArray("{\\rtf1\\pard\\ls1{\\listtext \\'b7\\tab}Item\\par\\pard Plain}")
        << QStringLiteral("Item\nPlain");
    QTest::newRow("nominal: \\par, \\line, \\tab and backslash-newline")
        << QByteArray("{\\rtf1 a\\par b\\line c\\tab d\\\ne}")
        << QStringLiteral("a\nb\u2028c\td\ne");
    QTest::newRow("nominal: typographic control words")
        << QByteArray("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}")
        << QStringLiteral("—–‘’“”•");
    QTest::newRow("nominal: \\~ \\- \\_")
        << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << QStringLiteral("a\u00a0b\u00adc\u2011d");
    QTest::newRow("nominal: only one space delimits a control word")
        << QByteArray("{\\rtf1\\b  two\\b0   three}") << QStringLiteral("{b: two}  three");
    QTest::newRow("nominal: CR and LF in the source are not text")
        << QByteArray("{\\rtf1 a\r\nb\nc\rd}") << QStringLiteral("abcd");
    QTest::newRow("nominal: \\bin skips its bytes, braces included")
        << QByteArray("{\\rtf1 a{\\pict\\bin3 }}}}b\\bin2 {}c}") << QStringLiteral("abc");
    QTest::newRow("nominal: an empty paragraph keeps its size")
        << QByteArray("{\\rtf1 a\\par\\fs40\\par b}") << QStringLiteral("a\n\n{20:b}");
}

void RtfCodecTest::read()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(RtfTestDocuments::summary(*RtfTestDocuments::read(rtf)), expected);
}

void RtfCodecTest::readBulletsShareOneDiscList()
{
    const auto read = RtfTestDocuments::read(
        "{\\rtf1{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}a\\par b\\par\\pard c\\par"
        "{\\*\\pn\\pnlvlblt}d}");
    const QTextBlock a = read->begin();
    const QTextBlock d = read->lastBlock();
    QVERIFY(a.textList() && d.textList());
    QCOMPARE(a.textList(), a.next().textList());
    QCOMPARE(a.textList()->format().style(), QTextListFormat::ListDisc);
    QVERIFY(a.textList() != d.textList());
    QCOMPARE(d.textList()->count(), 1);
}

void RtfCodecTest::readReplacesContentAndKeepsSettings()
{
    const auto target = RtfTestDocuments::create();
    target->setUndoRedoEnabled(true);
    target->setPlainText(QStringLiteral("old\nlines"));
    RtfReader reader;
    QVERIFY(reader.read("{\\rtf1 new}", target.get()));
    QCOMPARE(target->toPlainText(), QStringLiteral("new"));
    QCOMPARE(target->defaultFont(), BlankDocument::defaultFont());
    QVERIFY(target->isUndoRedoEnabled());
    QVERIFY(reader.errorString().isEmpty());
}

void RtfCodecTest::notRtf_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isRtf");
    QTest::newRow("nominal: leading whitespace is allowed")
        << QByteArray(" \r\n\t{\\rtf1 x}") << true;
    QTest::newRow("nominal: a UTF-8 byte order mark is allowed")
        << QByteArray("\xEF\xBB\xBF{\\rtf1 x}") << true;
    QTest::newRow("robustness: empty") << QByteArray() << false;
    QTest::newRow("robustness: plain text") << QByteArray("hello {\\rtf1}") << false;
    QTest::newRow("robustness: HTML") << QByteArray("<html><body>x</body></html>") << false;
    QTest::newRow("robustness: missing brace") << QByteArray("\\rtf1 x}") << false;
    QTest::newRow("nominal: white space and line breaks between the brace and \\rtf")
        << QByteArray("{ \r\n\t\\rtf1 x}") << true;
    QTest::newRow("robustness: text between the brace and \\rtf")
        << QByteArray("{x\\rtf1 x}") << false;
    QTest::newRow("robustness: truncated signature") << QByteArray("{\\rt") << false;
}

void RtfCodecTest::notRtf()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, isRtf);
    const auto target = RtfTestDocuments::create();
    target->setPlainText(QStringLiteral("kept"));
    RtfReader reader;
    QCOMPARE(reader.read(data, target.get()), isRtf);
    QCOMPARE(target->toPlainText(), isRtf ? QStringLiteral("x") : QStringLiteral("kept"));
    QCOMPARE(reader.errorString(), isRtf ? QString() : QStringLiteral("not an RTF document"));
}

void RtfCodecTest::keptRtfFollowsEveryEdit_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 8; ++seed)
        QTest::addRow("robustness: random edits %u", seed) << seed;
}

// The kept RTF is written anew only for the paragraph an edit touched; after any edit it must
// be exactly what writing the whole document gives.
void RtfCodecTest::keptRtfFollowsEveryEdit()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const auto document = randomDocument(seed);
    RtfDocumentCache& kept = RtfDocumentCache::of(*document);
    for (int edit = 0; edit < 150; ++edit) {
        QTextCursor cursor(document.get());
        const int end = document->characterCount() - 1;
        cursor.setPosition(random.bounded(end + 1));
        // Most edits stay inside one paragraph, as typing does.
        const QTextBlock block = cursor.block();
        const int inBlock = block.position() + random.bounded(block.length());
        switch (random.bounded(11)) {
        case 0:
        case 1:
            cursor.insertText(randomText(random));
            break;
        case 2:
            cursor.insertText(randomText(random), randomFormat(random));
            break;
        case 3:
            cursor.setPosition(inBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            break;
        case 4:
            cursor.setPosition(inBlock, QTextCursor::KeepAnchor);
            // Qt's layout can fall over formats merged onto a picture; not this code's concern.
            if (!cursor.selectedText().contains(QChar::ObjectReplacementCharacter))
                cursor.mergeCharFormat(randomFormat(random));
            break;
        case 5: {
            QTextBlockFormat format;
            format.setLeftMargin(random.bounded(3) * 24);
            format.setAlignment(random.bounded(2) ? Qt::AlignRight : Qt::AlignLeft);
            cursor.mergeBlockFormat(format);
            break;
        }
        case 6:
            if (QTextList* list = cursor.currentList())
                list->remove(cursor.block());
            else
                cursor.createList(random.bounded(2) ? QTextListFormat::ListDisc
                                                    : QTextListFormat::ListDecimal);
            break;
        case 7:
            cursor.insertBlock();
            break;
        case 8: {
            cursor.setPosition(inBlock, QTextCursor::KeepAnchor);
            if (cursor.selectedText().contains(QChar::ObjectReplacementCharacter))
                break;
            QTextCharFormat format;
            if (random.bounded(2)) {
                format.setAnchor(true);
                format.setAnchorHref(QStringLiteral("https://example.org/%1").arg(edit % 3));
            } else {
                format.setVerticalAlignment(random.bounded(2) ? QTextCharFormat::AlignSuperScript
                                                              : QTextCharFormat::AlignNormal);
            }
            cursor.mergeCharFormat(format);
            break;
        }
        case 9: {
            QImage picture(2, 2, QImage::Format_RGB32);
            picture.fill(Qt::red);
            document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("red")),
                                  picture);
            QTextImageFormat image;
            image.setName(QStringLiteral("red"));
            cursor.insertImage(image);
            break;
        }
        default:
            cursor.setPosition(random.bounded(end + 1), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            break;
        }
        QCOMPARE(kept.rtf(), RtfWriter::write(*document));
    }
}

QTEST_MAIN(RtfCodecTest)
#include "tst_rtfcodec.moc"
