#include "RtfTestDocuments.h"

#include "formats/rtf/CodePageDecoder.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "tools/rtf/DocumentJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

QString tabSummary(const QTextOption::Tab& tab, QChar leader)
{
    static const QHash<QTextOption::TabType, QString> kinds = {{QTextOption::LeftTab, {}},
                                                               {QTextOption::RightTab, "r"},
                                                               {QTextOption::CenterTab, "c"},
                                                               {QTextOption::DelimiterTab, "d"}};
    const QString text = kinds.value(tab.type) + QString::number(tab.position);
    return leader.isNull() || leader == u' ' ? text : text + leader;
}

// A paragraph as "[marker] <tabs> runs": a run unlike the default (the document's font, 12 pt)
// shows as {attributes:text}, attributes among super, b, font and size.
QString blockSummary(const QTextBlock& block)
{
    QStringList parts;
    if (const QTextList* list = block.textList()) {
        const QString number = list->itemText(block);
        parts << u'[' + (number.isEmpty() ? QStringLiteral("•") : number) + u']';
    }
    const QTextBlockFormat format = block.blockFormat();
    if (!format.tabPositions().isEmpty()) {
        const QString leaders = format.stringProperty(QTextFormat::UserProperty + 1);
        QStringList tabs;
        for (qsizetype index = 0; index < format.tabPositions().size(); ++index)
            tabs << tabSummary(format.tabPositions().at(index),
                               index < leaders.size() ? leaders.at(index) : QChar());
        parts << u'<' + tabs.join(u' ') + u'>';
    }
    QString runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat chars = it.fragment().charFormat();
        QStringList attributes;
        if (chars.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            attributes << QStringLiteral("super");
        if (chars.fontWeight() > QFont::Medium)
            attributes << QStringLiteral("b");
        const QString family = chars.fontFamilies().toStringList().value(0);
        if (!family.isEmpty() && family != block.document()->defaultFont().family())
            attributes << family;
        if (chars.fontPointSize() != 12)
            attributes << QString::number(chars.fontPointSize());
        const QString text = it.fragment().text();
        runs += attributes.isEmpty() ? text : u'{' + attributes.join(u',') + u':' + text + u'}';
    }
    parts << runs;
    return parts.join(u' ');
}

QString summary(const QTextDocument& document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks << blockSummary(block);
    return blocks.join(u'\n');
}

QByteArray nested(const QByteArray& inner, int depth)
{
    return QByteArray(depth, '{') + inner + QByteArray(depth, '}');
}

} // namespace

/// What writers other than this program put in their files, read as they mean it: deep groups,
/// ignorable words, code pages, lists, footnotes, nested tables, the Symbol font, the defaults
/// of RTF and tab stops.
class RtfPeerReadTest : public QObject
{
    Q_OBJECT

private slots:
    void readsAsMeant_data();
    void readsAsMeant();
    void codePagesMatchPublishedMappings();
    void dumpShowsListMarkers_data();
    void dumpShowsListMarkers();
    void footnotesAreKept();
    void loneSurrogatesBecomeReplacements_data();
    void loneSurrogatesBecomeReplacements();
};

void RtfPeerReadTest::readsAsMeant_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // Deep nesting, as Outlook writes HTML inside RTF.
    QTest::newRow("nominal: a skipped destination 600 groups deep ends with its group")
        << "{\\rtf1 a" + nested("{\\*\\foo hidden}b", 600) + "c}" << QStringLiteral("abc");
    QTest::newRow("nominal: formatting 600 groups deep ends with its group")
        << "{\\rtf1 " + nested("{\\b bold}after", 600) + "}" << QStringLiteral("{b:bold}after");
    QTest::newRow("robustness: 200,000 nested groups each setting bold")
        << "{\\rtf1 " + QByteArray("{\\b ").repeated(200'000) + "x" + QByteArray(200'000, '}') +
               "y}"
        << QStringLiteral("{b:x}y");

    QTest::newRow("nominal: \\* inside a group marks only the word after it")
        << QByteArray("{\\rtf1{\\loch\\b0\\*\\cs7 The quick brown fox}{\\*\\foo gone} jumps}")
        << QStringLiteral("The quick brown fox jumps");
    QTest::newRow("nominal: white space and a line break between the brace and \\rtf1")
        << QByteArray("\xEF\xBB\xBF{\n    \\rtf1\\ansi text}") << QStringLiteral("text");

    // Code pages.
    QTest::newRow("nominal: Hebrew letters in 1255")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'ec\\'e5\\'ed \\'e0\\'fa}")
        << QStringLiteral("שלום את");
    QTest::newRow("nominal: Vietnamese base letters and tone marks in 1258")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1258 \\'e3n \\'f5n \\'fda Vi\\'ea\\'f2t}")
        << QStringLiteral("\u0103n \u01a1n \u01b0a Vi\u00ea\u0323t");
    QTest::newRow("nominal: Mac Japanese from \\fcharset78")
        << QByteArray("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset78 Osaka;}}\\f0 "
                      "\\'82\\'a8\\'93\\'c7\\'82\\'dd\\'82\\'ad\\'82\\'be\\'82\\'b3\\'82\\'a2}")
        << QStringLiteral("{Osaka:お読みください}");
    QTest::newRow("nominal: Mac Greek and Cyrillic by \\fcharset, \\fcharset0 as \\mac says")
        << QByteArray("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset85 G;}{\\f1\\fcharset89 C;}"
                      "{\\f2\\fcharset0 R;}}\\f0 \\'e1\\f1 \\'e4\\f2 \\'8e}")
        << QStringLiteral("{G:α}{C:д}{R:é}");
    QTest::newRow("nominal: a \\fcharset0 font keeps 1252 in a 932 or 1251 document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 "
                      "\\'93x\\'94}")
        << QStringLiteral("{Arial:“x”}");
    QTest::newRow("robustness: an undefined double-byte pair never takes the next character")
        << QByteArray("{\\rtf1\\ansicpg932 \\'85\\'40x\\'85\\'85A}")
        << QStringLiteral("\ufffdx\ufffdA");
    QTest::newRow("robustness: \\u before a malformed \\' skips one fallback character")
        << QByteArray("{\\rtf1 x\\u345\\'3?x}") << QStringLiteral("xřx");

    // Footnotes.
    QTest::newRow("nominal: footnotes as Word writes them, numbered at the end")
        << QByteArray("{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} One."
                      "}, more{\\cs16\\super\\chftn{\\*\\footnote\\pard\\plain\\chftn\\~Two.\\par}}"
                      " end.}")
        << QStringLiteral("Text{super:1}, more{super:2} end.\n{b:Notes}\n{super:1} One.\n"
                          "{super:2}\u00a0Two.");
    QTest::newRow("nominal: a custom footnote mark, and a note's own paragraphs")
        << QByteArray("{\\rtf1\\pard\\qc See{\\super *}{\\footnote\\pard{\\super *} First.\\par "
                      "Second.} here.\\par next}")
        << QStringLiteral("See{super:*} here.\nnext\n{b:Notes}\n{super:*} First.\nSecond.");
    QTest::newRow("robustness: a footnote never closed ends the document")
        << QByteArray("{\\rtf1 a{\\footnote\\chftn b")
        << QStringLiteral("a\n{b:Notes}\n{super:1}b");

    // Nested tables and list fragments.
    QTest::newRow("nominal: nested cells in reading order, once")
        << QByteArray("{\\rtf1\\pard\\intbl\\itap1 A\\cell\\pard\\intbl\\itap2 n1\\nestcell n2"
                      "\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\cellx900\\nestrow}"
                      "{\\nonesttables n1 n2\\par}\\pard\\intbl\\itap1 B\\cell\\trowd\\cellx1000"
                      "\\cellx2000\\row\\pard after}")
        << QStringLiteral("\nA\nn1\nn2\nB\nafter");
    QTest::newRow("nominal: nested cells written inside \\nesttableprops")
        << QByteArray("{\\rtf1\\intbl A\\cell{\\*\\nesttableprops\\trowd\\cellx500 inner\\nestcell"
                      "\\nestrow}B\\cell\\row}")
        << QStringLiteral("\nA\ninner\nB\n");
    QTest::newRow("nominal: list table groups outside the list tables are neither text nor lists")
        << QByteArray("{\\rtf1{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext \\'02"
                      "\\'00.;}}{\\listname List1382206859_1;}\\listid5}{\\listoverride\\listid5"
                      "\\listoverridecount0\\ls3}{\\listname Stray;}\\pard\\ls3 one\\par\\pard x}")
        << QStringLiteral("one\nx");

    // The symbol fonts.
    QTest::newRow("nominal: symbol fonts' bytes and Word's U+F0xx as the signs they show")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset2 Symbol;}{\\f1 Arial;}"
                      "{\\f2\\fcharset2 Wingdings;}{\\f3 Webdings;}{\\f4\\fcharset2 OpenSymbol;}}"
                      "\\f0 abp\\'b3\\'a5\\u-3998\\'62\\f1 ab\\f2 ab\\u-3844?\\'21\\f3 !\\f4 ab}")
        << QStringLiteral("{Symbol:αβπ≥∞β}{Arial:ab}{Wingdings:♋♌✓\U0001F589}{Webdings:\U0001F577}"
                          "{OpenSymbol:ab}");
    QTest::newRow("nominal: letters in a symbol font that says they are letters stay so")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Wingdings;}}\\f0 ab}")
        << QStringLiteral("{Wingdings:ab}");

    // What RTF gives text that says nothing.
    QTest::newRow("nominal: 12 pt without \\fs, also after \\plain")
        << QByteArray("{\\rtf1 a\\fs20 b\\plain c}") << QStringLiteral("a{10:b}c");
    QTest::newRow("nominal: a font missing from the table is the \\deff font, code page too")
        << QByteArray("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset204 Cyr;}}\\f7 \\'cf\\'f0}")
        << QStringLiteral("{Cyr:Пр}");

    // Tab stops, in pixels from the first line's start.
    QTest::newRow("nominal: left, right, centre and decimal stops with leaders")
        << QByteArray("{\\rtf1\\pard\\tx1500\\tqr\\tldot\\tx4500\\tqc\\tx6000\\tqdec\\tx7500 "
                      "a\\tab b\\par c}")
        << QStringLiteral("<100 r300. c400 d500> a\tb\n<100 r300. c400 d500> c");
    QTest::newRow("nominal: pandoc's list item, its stop past a hanging indent")
        << QByteArray("{\\rtf1{\\pard \\ql \\f0 \\sa0 \\li360 \\fi-360 1.\\tx360\\tab Step\\par}"
                      "\\pard\\li720\\tx1440 x}")
        << QStringLiteral("<24> 1.\tStep\n<48> x");
    QTest::newRow("nominal: \\pard clears the stops; \\tb stops nothing")
        << QByteArray("{\\rtf1\\tqr\\tx300\\tb\\tx600 a\\par\\pard b}")
        << QStringLiteral("<r20 40> a\nb");
}

void RtfPeerReadTest::readsAsMeant()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    RtfTestDocuments::checkReadAndKept(rtf, expected, summary);
}

void RtfPeerReadTest::codePagesMatchPublishedMappings()
{
    // Each line: a code page, then what each byte value stands for in its published mapping.
    const QList<QByteArray> lines =
        RtfTestDocuments::contents(QStringLiteral(QUILLMERE_RTF_DATA "/code-pages.txt"))
            .split('\n');
    CodePageDecoder decoder;
    int pages = 0;
    for (const QByteArray& line : lines) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        QCOMPARE(fields.size(), 257);
        const int codePage = fields.at(0).toInt();
        for (int byte = 0; byte < 256; ++byte) {
            QString decoded;
            decoder.decode(codePage, QByteArray(1, char(byte)), decoded);
            const char32_t published = fields.at(byte + 1).toUInt(nullptr, 16);
            const QString expected = QString::fromUcs4(&published, 1);
            QVERIFY2(decoded == expected,
                     qPrintable(QStringLiteral("page %1 byte %2: U+%3, published U+%4")
                                    .arg(codePage)
                                    .arg(byte, 2, 16, QLatin1Char('0'))
                                    .arg(decoded.toUcs4().value(0), 4, 16)
                                    .arg(uint(published), 4, 16)));
        }
        ++pages;
    }
    QVERIFY(pages >= 40);
}

void RtfPeerReadTest::dumpShowsListMarkers_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nominal: bullets, numbers, letters and roman numbers")
        << QByteArray(
               "{\\rtf1{\\*\\pn\\pnlvlblt}a\\par b\\par\\pard{\\*\\pn\\pnlvlbody\\pndec}c\\par"
               " d\\par\\pard{\\*\\pn\\pnlvlbody\\pnlcltr}e\\par\\pard{\\*\\pn\\pnlvlbody"
               "\\pnucrm}f\\par\\pard g}")
        << QStringList{"bullet •",       "bullet •",       "decimal 1.", "decimal 2.",
                       "lower-alpha a.", "upper-roman I.", "-"};
    QTest::newRow("nominal: a trailing empty paragraph after a list is no item")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlblt}one\\par two\\par}")
        << QStringList{"bullet •", "bullet •", "-"};
    QTest::newRow("nominal: an empty last paragraph that declares its list is an item")
        << QByteArray("{\\rtf1{\\*\\pn\\pnlvlbody\\pndec}one\\par{\\*\\pn\\pnlvlbody\\pndec}}")
        << QStringList{"decimal 1.", "decimal 2."};
}

void RtfPeerReadTest::dumpShowsListMarkers()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    const QJsonArray paragraphs =
        QJsonDocument::fromJson(DocumentJson::toJson(*RtfTestDocuments::read(rtf)))
            .object()
            .value("paragraphs")
            .toArray();
    QStringList lists;
    for (const QJsonValue paragraph : paragraphs) {
        const QJsonObject object = paragraph.toObject();
        lists << (object.contains("marker")
                      ? object.value("list").toString() + u' ' + object.value("marker").toString()
                      : QStringLiteral("-"));
    }
    QCOMPARE(lists, expected);
}

void RtfPeerReadTest::footnotesAreKept()
{
    const auto document = RtfTestDocuments::create();
    RtfReader reader;
    QVERIFY(reader.read(
        RtfTestDocuments::contents(QStringLiteral(QUILLMERE_RTF_DATA "/libreoffice-footnotes.rtf")),
        document.get()));
    QCOMPARE(reader.losses(), QStringList());
}

void RtfPeerReadTest::loneSurrogatesBecomeReplacements_data()
{
    // Read, written and dumped: each side turns a surrogate without its other half into U+FFFD.
    QTest::addColumn<QString>("side");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("nominal: a high surrogate alone, read")
        << "read" << QByteArray("{\\rtf1 a\\u55357?b\\u-10179?}") << QByteArray("a\ufffdb\ufffd");
    QTest::newRow("nominal: a low surrogate alone, read")
        << "read" << QByteArray("{\\rtf1 a\\u-8704?b\\u56832?\\u-10179?\\u-8704?}")
        << QByteArray("a\ufffdb\ufffd😀");
    QTest::newRow("nominal: a high surrogate cut off by a paragraph, read")
        << "read" << QByteArray("{\\rtf1 a\\u-10179?\\par\\u-8704?}")
        << QByteArray("a\ufffd\n\ufffd");
    QTest::newRow("nominal: lone halves written as \\u-3?") << "write"
                                                            << QByteArray("a\xED\xA0\xBD"
                                                                          "b\xED\xB8\x80")
                                                            << QByteArray("a\\u-3?b\\u-3?");
    QTest::newRow("nominal: lone halves dumped as valid UTF-8")
        << "dump" << QByteArray("a\xED\xB8\x80 \xED\xA0\xBD") << QByteArray("a\ufffd \ufffd");
}

void RtfPeerReadTest::loneSurrogatesBecomeReplacements()
{
    QFETCH(QString, side);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    if (side == u"read") {
        QCOMPARE(RtfTestDocuments::read(input)->toPlainText(), QString::fromUtf8(expected));
        return;
    }
    // The input holds UTF-16 surrogates encoded one by one, as CESU-8 would.
    QString text;
    for (qsizetype at = 0; at < input.size();) {
        const auto byte = uchar(input[at]);
        if (byte == 0xED) {
            text +=
                QChar(0xD000 | (uchar(input[at + 1]) & 0x3F) << 6 | (uchar(input[at + 2]) & 0x3F));
            at += 3;
        } else {
            text += QChar(byte);
            ++at;
        }
    }
    const auto document = RtfTestDocuments::create();
    QTextCursor(document.get()).insertText(text);
    if (side == u"write") {
        const QByteArray rtf = RtfWriter::write(*document);
        QVERIFY2(rtf.contains(expected), rtf.constData());
        return;
    }
    const QByteArray json = DocumentJson::toJson(*document);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(json);
    QVERIFY2(!utf8.hasError(), json.constData());
    QVERIFY2(decoded.contains(QString::fromUtf8(expected)), json.constData());
}

QTEST_GUILESS_MAIN(RtfPeerReadTest)
#include "tst_rtfpeerread.moc"
