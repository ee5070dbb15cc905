#include "RtfTestDocuments.h"

#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

// Every formatting the program offers, in the JSON form `quillmere-rtf build` takes.
const char* const s_document =
    "{\"paragraphs\":["
    "{\"bullet\":false,\"runs\":[{\"text\":\"Plain "
    "\"},{\"text\":\"bold\",\"bold\":true},{\"text\":\" \"},"
    " {\"text\":\"italic\",\"italic\":true},{\"text\":\" "
    "\"},{\"text\":\"under\",\"underline\":true},{\"text\":\" \"},"
    " {\"text\":\"struck\",\"strike\":true}]},"
    "{\"bullet\":false,\"runs\":[{\"text\":\"Red words\",\"color\":\"#ff0000\"},"
    " {\"text\":\" serif words\",\"font\":\"DejaVu Serif\",\"size\":20}]},"
    "{\"bullet\":true,\"runs\":[{\"text\":\"First item\"}]},"
    "{\"bullet\":true,\"runs\":[{\"text\":\"Second item\"}]},"
    "{\"bullet\":true,\"list\":\"decimal\",\"runs\":[{\"text\":\"Numbered one\"}]},"
    "{\"bullet\":true,\"list\":\"decimal\",\"runs\":[{\"text\":\"Numbered two\"}]},"
    "{\"bullet\":false,\"align\":\"center\",\"runs\":[{\"text\":\"Water is "
    "H\"},{\"text\":\"2\",\"vertical\":\"sub\"},"
    " {\"text\":\"O, see \"},{\"text\":\"the site\",\"link\":\"https://example.org/\"}]},"
    "{\"bullet\":false,\"runs\":[{\"text\":\"Accents café, Привет, Γειά, 日本語 😀 end\"}]}"
    "]}";

// A table with a cell merged across, two numbered lists of other styles and hidden text.
const char* const s_tableAndLists =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}}{\\*\\listtable{\\list{\\listlevel"
    "\\levelnfc4\\levelstartat3{\\leveltext\\'02\\'00);}{\\levelnumbers\\'01;}}\\listid1}{\\list"
    "{\\listlevel\\levelnfc2{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}}\\listid2}}"
    "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}{\\listoverride"
    "\\listid2\\listoverridecount0\\ls2}}\\pard Before\\par"
    "\\trowd\\clbrdrt\\brdrs\\brdrw10\\cellx2000\\cellx4000\\cellx6000\\intbl top left\\cell top "
    "middle\\cell top "
    "right\\cell\\row\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\cellx6000\\intbl "
    "wide\\cell\\cell right\\cell\\row\\pard\\ls1 first\\par second\\par\\pard\\ls2 roman\\par"
    "\\pard after {\\v secret}end\\par}";

// The table of s_tableAndLists with a row put in by editing, as the writer writes it.
QByteArray editedTable(QStringList* cells)
{
    const auto document = RtfTestDocuments::create();
    RtfReader().read(s_tableAndLists, document.get());
    auto* table = qobject_cast<QTextTable*>(document->rootFrame()->childFrames().value(0));
    if (!table)
        return {};
    table->insertRows(1, 1);
    for (int column = 0; column < table->columns(); ++column)
        table->cellAt(1, column).firstCursorPosition().insertText(
            QStringLiteral("new %1").arg(column + 1));
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                *cells << QTextCursor(document.get())
                              .document()
                              ->findBlock(cell.firstPosition())
                              .text();
        }
    }
    return RtfWriter::write(*document);
}

// The texts of the cells of the first table in a peer's HTML, in order.
QStringList htmlCells(const QString& html)
{
    const QString table =
        html.section(QStringLiteral("<table"), 1).section(QStringLiteral("</table>"), 0, 0);
    QStringList cells;
    const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"));
    for (const QRegularExpressionMatch& match : cell.globalMatch(table))
        cells << match.captured(1).remove(QRegularExpression(QStringLiteral("<[^>]*>"))).trimmed();
    return cells;
}

// A peer's HTML with white space folded, so line wrapping does not matter.
QString folded(const QByteArray& html)
{
    return QString::fromUtf8(html).replace(QRegularExpression(QStringLiteral("\\s+")), u" "_qs);
}

QString requirePeer(const QString& program)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        qWarning("%s is not installed: run tools/setup.sh, which installs the peer word "
                 "processors these tests convert with",
                 qPrintable(program));
    return path;
}

QByteArray run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitCode() != 0) {
        process.kill();
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return QByteArray();
    }
    return process.readAllStandardOutput();
}

} // namespace

/// RTF the program writes must open in LibreOffice and pandoc with its text and formatting.
class RtfPeerWriteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void libreOfficeReadsOurRtf_data();
    void libreOfficeReadsOurRtf();
    void pandocReadsOurRtf_data();
    void pandocReadsOurRtf();
    void libreOfficeReadsAnEditedTableWithItsCells();
    void libreOfficeReadsListsAsNumbered_data();
    void libreOfficeReadsListsAsNumbered();

private:
    QTemporaryDir m_dir;
    QString m_rtfPath;
    QString m_libreOfficeHtml;
    /// The cells of the edited table, and LibreOffice's HTML and text of it.
    QStringList m_editedCells;
    QString m_editedHtml;
    QString m_editedText;
};

void RtfPeerWriteTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const auto document = RtfTestDocuments::fromJson(s_document);
    m_rtfPath = m_dir.filePath(QStringLiteral("written.rtf"));
    QFile file(m_rtfPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(RtfWriter::write(*document));
    file.close();
    const QString editedPath = m_dir.filePath(QStringLiteral("edited.rtf"));
    QFile edited(editedPath);
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write(editedTable(&m_editedCells));
    edited.close();

    // One conversion for every check: starting LibreOffice dominates the time.
    const QString soffice = requirePeer(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return;
    const QString profile =
        QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString();
    run(soffice,
        {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
         QStringLiteral("--convert-to"), QStringLiteral("html"), QStringLiteral("--outdir"),
         m_dir.path(), m_rtfPath, editedPath},
        300'000);
    QDir(m_dir.path()).mkdir(QStringLiteral("text"));
    run(soffice,
        {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
         QStringLiteral("--convert-to"), QStringLiteral("txt:Text"), QStringLiteral("--outdir"),
         m_dir.filePath(QStringLiteral("text")), editedPath},
        300'000);
    QFile html(m_dir.filePath(QStringLiteral("written.html")));
    if (html.open(QIODevice::ReadOnly))
        m_libreOfficeHtml = folded(html.readAll());
    QFile editedHtml(m_dir.filePath(QStringLiteral("edited.html")));
    if (editedHtml.open(QIODevice::ReadOnly))
        m_editedHtml = folded(editedHtml.readAll());
    QFile editedText(m_dir.filePath(QStringLiteral("text/edited.txt")));
    if (editedText.open(QIODevice::ReadOnly))
        m_editedText = QString::fromUtf8(editedText.readAll());
}

void RtfPeerWriteTest::libreOfficeReadsOurRtf_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("nominal: bold") << "<b>bold</b>";
    QTest::newRow("nominal: italic") << "<i>(<[^>]*>)*italic";
    QTest::newRow("nominal: underline") << "<u>(<[^>]*>)*under";
    QTest::newRow("nominal: strike-through") << "<strike>(<[^>]*>)*struck";
    QTest::newRow("nominal: colour") << "color=\"#ff0000\">(<[^>]*>)*Red words";
    QTest::newRow("nominal: font and size")
        << "face=\"DejaVu Serif[^\"]*\">(<[^>]*>)*<font size=\"\\d\" style=\"font-size: 20pt\">"
           "(<[^>]*>)* serif words";
    QTest::newRow("nominal: bullets") << "<ul> (<[^>]*>)*<li>(<[^>]*>)*First item(<[^>]*>| )*"
                                         "<li>(<[^>]*>)*Second item(<[^>]*>| )*</ul>";
    QTest::newRow("nominal: numbered list")
        << "<ol> (<[^>]*>)*<li>(<[^>]*>)*Numbered one(<[^>]*>| )*<li>(<[^>]*>)*Numbered two";
    QTest::newRow("nominal: alignment") << "<p align=\"center\"[^>]*>(<[^>]*>)*Water is H";
    QTest::newRow("nominal: subscript") << "<sub>(<[^>]*>)*2(<[^>]*>)*</sub>";
    QTest::newRow("nominal: hyperlink") << "<a href=\"https://example.org/\">the site</a>";
    QTest::newRow("nominal: Latin, Cyrillic and Greek") << "Accents café, Привет, Γειά, ";
    QTest::newRow("nominal: CJK and emoji") << "日本語 😀";
}

void RtfPeerWriteTest::libreOfficeReadsOurRtf()
{
    QFETCH(QString, pattern);
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        QFAIL("LibreOffice (soffice) is missing: install libreoffice-writer-nogui");
    QVERIFY2(!m_libreOfficeHtml.isEmpty(), "LibreOffice did not convert the written RTF");
    QVERIFY2(m_libreOfficeHtml.contains(QRegularExpression(pattern)),
             qPrintable(m_libreOfficeHtml));
}

void RtfPeerWriteTest::pandocReadsOurRtf_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("nominal: plain text") << "<p>Plain <strong>";
    QTest::newRow("nominal: bold") << "<strong>bold</strong>";
    QTest::newRow("nominal: italic") << "<em>italic</em>";
    QTest::newRow("nominal: underline") << "<u>under</u>";
    QTest::newRow("nominal: strike-through") << "<del>struck</del>";
    QTest::newRow("nominal: coloured and sized text") << "<p>Red words serif words</p>";
    // pandoc builds lists from the list table.
    QTest::newRow("nominal: bullets")
        << "<ul> <li><p>First item</p></li> <li><p>Second item</p></li> </ul>";
    QTest::newRow("nominal: numbers")
        << "<ol type=\"1\"> <li><p>Numbered one</p></li> <li><p>Numbered two</p></li> </ol>";
    QTest::newRow("nominal: subscript") << "H<sub>2</sub>O";
    QTest::newRow("nominal: hyperlink") << "<a href=\"https://example.org/\">the site</a>";
}

void RtfPeerWriteTest::pandocReadsOurRtf()
{
    QFETCH(QString, pattern);
    const QString pandoc = requirePeer(QStringLiteral("pandoc"));
    if (pandoc.isEmpty())
        QFAIL("pandoc is missing: install pandoc");
    const QString html = folded(run(pandoc,
                                    {QStringLiteral("-f"), QStringLiteral("rtf"),
                                     QStringLiteral("-t"), QStringLiteral("html"), m_rtfPath},
                                    60'000));
    QVERIFY2(html.contains(QRegularExpression(pattern)), qPrintable(html));
}

void RtfPeerWriteTest::libreOfficeReadsAnEditedTableWithItsCells()
{
    QVERIFY2(!m_editedHtml.isEmpty(), "LibreOffice did not convert the edited table");
    QCOMPARE(m_editedCells, QStringList({"top left", "top middle", "top right", "new 1", "new 2",
                                         "new 3", "wide", "right"}));
    QCOMPARE(htmlCells(m_editedHtml), m_editedCells);
    QVERIFY2(m_editedHtml.contains(
                 QRegularExpression(QStringLiteral("colspan=\"2\"[^>]*>(<[^>]*>| )*wide"))),
             qPrintable(m_editedHtml));
}

void RtfPeerWriteTest::libreOfficeReadsListsAsNumbered_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("nominal: a) starting at c") << "c) first";
    QTest::newRow("nominal: the next item") << "d) second";
    QTest::newRow("nominal: (i)") << "(i) roman";
}

// Numbers as LibreOffice's text shows them; its text shows hidden text too, its HTML hides it.
void RtfPeerWriteTest::libreOfficeReadsListsAsNumbered()
{
    QFETCH(QString, line);
    QStringList lines = m_editedText.split(u'\n');
    for (QString& each : lines)
        each = each.simplified();
    QVERIFY2(lines.contains(line), qPrintable(m_editedText));
    QVERIFY2(m_editedHtml.contains(QStringLiteral("<span style=\"display: none\">secret</span>")),
             qPrintable(m_editedHtml));
}

QTEST_GUILESS_MAIN(RtfPeerWriteTest)
#include "tst_rtfpeerwrite.moc"
