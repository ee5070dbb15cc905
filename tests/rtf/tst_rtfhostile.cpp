#include "RtfTestDocuments.h"

#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

namespace {

QByteArray repeated(const QByteArray& text, int count)
{
    return text.repeated(count);
}

QByteArray numbered(const char* format, int count)
{
    QByteArray out;
    for (int index = 0; index < count; ++index)
        out += QByteArray(format).replace("%1", QByteArray::number(index));
    return out;
}

} // namespace

/// Hostile input aimed at the paragraph, list, link, picture and style sheet readers: every
/// file reads, in time and memory linear in its size, and writes back stably.
class RtfHostileTest : public QObject
{
    Q_OBJECT

private slots:
    void hostileInput_data();
    void hostileInput();
    void truncatedPeerFiles();
};

void RtfHostileTest::hostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const QByteArray nines = repeated("9", 40);
    QTest::newRow("robustness: a colour table of 1,000,000 entries")
        << "{\\rtf1{\\colortbl;" + repeated("\\red1\\green2\\blue3;", 1'000'000) +
               "}\\cf999999 x\\cf1000001 y}"
        << QStringLiteral("{#010203:x}y");
    QTest::newRow("robustness: 100,000 fonts and 100,000 styles")
        << "{\\rtf1{\\fonttbl" + numbered("{\\f%1 F%1;}", 100'000) + "}{\\stylesheet" +
               numbered("{\\s%1\\sbasedon%1\\b\\f%1 S;}", 100'000) + "}\\s99999 x}"
        << QStringLiteral("{b,F99999:x}");
    QTest::newRow("robustness: paragraph lengths out of range")
        << "{\\rtf1\\li" + nines + "\\ri-" + nines + "\\fi" + nines + "\\sb-5\\sa" + nines +
               "\\qc x}"
        << QStringLiteral("x");
    QTest::newRow("robustness: list, highlight and picture values out of range")
        << "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc-" + nines + "}\\listid" + nines +
               "}}{\\*\\listoverridetable{\\listoverride\\listid" + nines + "\\ls-7}}\\ls" + nines +
               "\\highlight" + nines + " x{\\pict\\pngblip\\picwgoal-" + nines + "\\picscalex" +
               nines + "\\picscaley0 00}}"
        << QStringLiteral("x");
    QTest::newRow("robustness: \\uc and \\u out of range")
        << "{\\rtf1\\uc" + nines + " a\\u" + nines + "bcd}{\\rtf1 e\\uc-3\\u-" + nines + "?f}"
        << QStringLiteral("a\ufffd");
    QTest::newRow("robustness: \\' at the end of the file")
        << QByteArray("{\\rtf1 a\\'") << QStringLiteral("a");
    QTest::newRow("robustness: 20,000 distinct hyperlinks")
        << "{\\rtf1 " + numbered("{\\field{\\*\\fldinst HYPERLINK \"u%1\"}{\\fldrslt l}}", 20'000) +
               "}"
        << QString(20'000, u'l');
    QTest::newRow("robustness: a field instruction of 4 MB")
        << "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"" + repeated("x", 4'000'000) +
               "\"}{\\fldrslt l}}}"
        << QStringLiteral("l");
    QTest::newRow("robustness: 4 MB of picture hex that is no image")
        << "{\\rtf1 a{\\pict\\pngblip " + repeated("0", 4'000'001) + "}b}" << QStringLiteral("ab");
    QTest::newRow("robustness: 1,000,000 empty cells then text")
        << "{\\rtf1 " + repeated("\\cell", 1'000'000) + "\\row x" + repeated("\\cell ", 3) + "y}"
        << QString(1'000'000, u'\t') + QStringLiteral("\nx\t\t\ty");
    // The last, empty paragraph only carries the list on, so it is no item.
    QTest::newRow("robustness: 50,000 numbered paragraphs")
        << "{\\rtf1{\\*\\pn\\pnlvlbody\\pndec}" + repeated("n\\par ", 50'000) + "}"
        << QStringList(50'000, QStringLiteral("* n")).join(u'\n') + u'\n';
    QTest::newRow("robustness: 100,000 cells in one row join its last column's cell")
        << "{\\rtf1\\trowd\\cellx100\\intbl " + repeated("x\\cell ", 100'000) + "\\row}"
        << u'\n' + QStringLiteral("x\n").repeated(100'000);
    QString rows = QStringLiteral("\n");
    for (int row = 0; row < 20'000; ++row)
        rows += row > 0 && row % 256 == 0 ? QStringLiteral("\na\nb\n") : QStringLiteral("a\nb\n");
    QTest::newRow("robustness: 20,000 rows go on as tables of 256")
        << "{\\rtf1" + repeated("\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\cell\\row", 20'000) +
               "}"
        << rows;
    QTest::newRow("robustness: 100,000 nested list and picture destinations")
        << "{\\rtf1 " + repeated("{\\*\\listtable{\\pict", 100'000) + "}" + " x}" << QString();
}

void RtfHostileTest::hostileInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const auto document = RtfTestDocuments::read(rtf);
    QCOMPARE(RtfTestDocuments::summary(*document).left(200), expected.left(200));
    QCOMPARE(RtfTestDocuments::summary(*document).size(), expected.size());
    const QByteArray written = RtfWriter::write(*document);
    QCOMPARE(RtfWriter::write(*RtfTestDocuments::read(written)), written);
}

void RtfHostileTest::truncatedPeerFiles()
{
    // Every cut of a real peer's file reads and writes back stably.
    const QDir data(QStringLiteral(QUILLMERE_RTF_DATA));
    for (const QString& name : {QStringLiteral("pandoc.rtf"), QStringLiteral("abiword.rtf")}) {
        QFile file(data.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        for (qsizetype length = 5; length <= rtf.size(); length += 7) {
            const auto document = RtfTestDocuments::create();
            QVERIFY(RtfReader().read(rtf.left(length), document.get()));
            const QByteArray written = RtfWriter::write(*document);
            QCOMPARE(RtfWriter::write(*RtfTestDocuments::read(written)), written);
        }
    }
}

QTEST_GUILESS_MAIN(RtfHostileTest)
#include "tst_rtfhostile.moc"
