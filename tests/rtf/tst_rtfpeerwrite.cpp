#include "RtfTestDocuments.h"

#include "formats/rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

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

private:
    QTemporaryDir m_dir;
    QString m_rtfPath;
    QString m_libreOfficeHtml;
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

    // One conversion for every check: starting LibreOffice dominates the time.
    const QString soffice = requirePeer(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return;
    const QString profile =
        QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString();
    run(soffice,
        {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
         QStringLiteral("--convert-to"), QStringLiteral("html"), QStringLiteral("--outdir"),
         m_dir.path(), m_rtfPath},
        300'000);
    QFile html(m_dir.filePath(QStringLiteral("written.html")));
    if (html.open(QIODevice::ReadOnly))
        m_libreOfficeHtml = folded(html.readAll());
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
    // pandoc shows the list markers other readers show instead of building lists.
    QTest::newRow("nominal: bullets") << "<p>• First item</p> <p>• Second item</p>";
    QTest::newRow("nominal: numbers") << "<p>1. Numbered one</p> <p>2. Numbered two</p>";
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

QTEST_GUILESS_MAIN(RtfPeerWriteTest)
#include "tst_rtfpeerwrite.moc"
