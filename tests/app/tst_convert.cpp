#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A running header with the page number, three pages of text and a footnote after
// "Paragraph 40".
QByteArray manuscript()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
                     "{\\header\\pard\\qr Aubrey / TITLE / {\\field{\\*\\fldinst PAGE}"
                     "{\\fldrslt 1}}\\par}\\fs24 ";
    for (int paragraph = 1; paragraph <= 60; ++paragraph) {
        rtf += "Paragraph " + QByteArray::number(paragraph);
        if (paragraph == 40)
            rtf += "{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} The harbour note.}";
        rtf += QByteArray(" words that fill a line of the page and then some").repeated(4);
        rtf += "\\par ";
    }
    return rtf + '}';
}

constexpr char s_lists[] =
    "{\\rtf1\\pard{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}\\fi-360\\li720 apple\\par"
    "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\fi-360\\li720 one"
    "\\par\\pard plain}";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString pdfPage(const QString& pdf, int page)
{
    QProcess process;
    const QString number = QString::number(page);
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"),
                   number, pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

/// `quillmere --convert-to` run as a user runs it, with no display.
class ConvertTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsEachFileAndNamesTheFailures();
    void plainTextKeepsListMarkers();

private:
    int convert(const QStringList& arguments, QString* errors = nullptr);
    void checkPages(const QString& pdf, const char* title, const char* marked, int firstHeader);

    QTemporaryDir m_dir;
};

void ConvertTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    writeFile(m_dir.filePath("novel.rtf"), manuscript());
    writeFile(m_dir.filePath("lists.rtf"), s_lists);
}

int ConvertTest::convert(const QStringList& arguments, QString* errors)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(QUILLMERE_PROGRAM), arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void ConvertTest::convertsEachFileAndNamesTheFailures()
{
    // The folder to write in is made when missing.
    const QString out = m_dir.filePath("out");
    QString errors;
    QCOMPARE(convert({"--convert-to", "pdf", "--outdir", out, "novel.rtf", "missing.rtf",
                      QStringLiteral(QUILLMERE_MANUSCRIPT)},
                     &errors),
             1);
    QCOMPARE(errors.count(u'\n'), 1);
    QVERIFY2(errors.startsWith(QLatin1String("missing.rtf: ")), qPrintable(errors));
    QVERIFY(!QFile::exists(m_dir.filePath("out/missing.pdf")));
    checkPages(m_dir.filePath("out/novel.pdf"), "TITLE", "Paragraph 40", 1);
    // Never written over the file it reads.
    QCOMPARE(convert({"--convert-to", "rtf", "lists.rtf"}, &errors), 1);
    QVERIFY2(errors.startsWith(QLatin1String("lists.rtf: ")), qPrintable(errors));
    QFile lists(m_dir.filePath("lists.rtf"));
    QVERIFY(lists.open(QIODevice::ReadOnly));
    QCOMPARE(lists.readAll(), QByteArray(s_lists));
    // Nor over what another file of the same name just became.
    QVERIFY(QFile::copy(m_dir.filePath("lists.rtf"), m_dir.filePath("lists.md")));
    QCOMPARE(convert({"--convert-to", "odt", "--outdir", out, "lists.rtf", "lists.md"}, &errors),
             1);
    QVERIFY2(errors.startsWith(QLatin1String("lists.md: would be written over")),
             qPrintable(errors));
    // A manuscript's title page carries no header.
    checkPages(m_dir.filePath("out/manuscript.pdf"), "HARBOUR", "office closed boats chandler.", 2);
}

// Each page from firstHeader on shows the running header with its number, and the footnote is
// on the page of the text its mark follows.
void ConvertTest::checkPages(const QString& pdf, const char* title, const char* marked,
                             int firstHeader)
{
    int notePage = 0;
    int markPage = 0;
    int page = 1;
    for (QString text = pdfPage(pdf, page); !text.isEmpty(); text = pdfPage(pdf, ++page)) {
        QCOMPARE(text.contains(QStringLiteral("Aubrey / %1 / %2").arg(title).arg(page)),
                 page >= firstHeader);
        if (text.contains(QLatin1String("The harbour note.")) ||
            text.contains(QLatin1String("The harbour was rebuilt in 1911")))
            notePage = page;
        if (text.contains(QLatin1String(marked)))
            markPage = page;
    }
    QVERIFY(page > 3);
    QVERIFY(notePage > 1);
    QCOMPARE(notePage, markPage);
}

void ConvertTest::plainTextKeepsListMarkers()
{
    QCOMPARE(convert({"--convert-to", "txt", "lists.rtf"}), 0);
    QFile text(m_dir.filePath("lists.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(text.readAll()), QStringLiteral("\u2022 apple\n1. one\nplain\n"));
}

QTEST_MAIN(ConvertTest)
#include "tst_convert.moc"
