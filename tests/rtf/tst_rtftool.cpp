#include "formats/BlankDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs the tool to its end; a crash shows as exit code -1.
int runTool(QProcess& process, const QStringList& arguments)
{
    process.start(QStringLiteral(QUILLMERE_RTF_TOOL), arguments);
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString writeFile(const QTemporaryDir& directory, const QString& name, const QByteArray& data)
{
    const QString path = directory.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return path;
}

} // namespace

/// The quillmere-rtf command line: JSON in and out, and how it reports unusable input.
class RtfToolTest : public QObject
{
    Q_OBJECT

private slots:
    void buildThenDumpGivesTheSameJson();
    void dumpReadsRunsWithoutFontOrSizeAsRtfDefaults();
    void failures_data();
    void failures();
};

void RtfToolTest::buildThenDumpGivesTheSameJson()
{
    const QByteArray json =
        R"({"paragraphs":[{"bullet":false,"runs":[{"text":"Hello ","bold":false,"italic":false,)"
        R"("underline":false,"strike":false,"color":"#000000","font":"Arial","size":12},)"
        R"({"text":"wörld\t😀","bold":true,"italic":true,"underline":true,"strike":true,)"
        R"("color":"#ff0000","font":"Fixedsys","size":10.5}]},)"
        R"({"bullet":true,"list":"bullet","marker":"•","runs":[]},)"
        R"({"bullet":true,"list":"bullet","marker":"•","runs":[{"text":"Привет","bold":false,"italic":false,"underline":false,)"
        R"("strike":false,"color":"#000000","font":"Fixedsys","size":9}]}]})";
    QTemporaryDir directory;
    QProcess build;
    QCOMPARE(runTool(build, {"build", writeFile(directory, "in.json", json)}), 0);
    const QByteArray rtf = build.readAllStandardOutput();
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QProcess dump;
    QCOMPARE(runTool(dump, {"dump", writeFile(directory, "out.rtf", rtf)}), 0);
    QCOMPARE(QString::fromUtf8(dump.readAllStandardOutput().trimmed()), QString::fromUtf8(json));
}

void RtfToolTest::dumpReadsRunsWithoutFontOrSizeAsRtfDefaults()
{
    // Without a font table the editor's font stands in; without \fs text is RTF's 12 pt.
    QTemporaryDir directory;
    QProcess dump;
    QCOMPARE(runTool(dump, {"dump", writeFile(directory, "x.rtf", "{\\rtf1 x}")}), 0);
    const QJsonObject run = QJsonDocument::fromJson(dump.readAllStandardOutput())
                                .object()["paragraphs"][0]["runs"][0]
                                .toObject();
    QCOMPARE(run.value("font").toString(), BlankDocument::defaultFont().family());
    QCOMPARE(run.value("size").toDouble(), 12.0);
}

void RtfToolTest::failures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("robustness: dump of a missing file") << "dump" << QByteArray() << QByteArray("");
    QTest::newRow("robustness: dump of a file that is not RTF")
        << "dump" << QByteArray("plain text") << QByteArray("not an RTF document");
    QTest::newRow("robustness: build of broken JSON")
        << "build" << QByteArray("{\"paragraphs\":") << QByteArray("");
    QTest::newRow("robustness: unknown command")
        << "print" << QByteArray("x") << QByteArray("usage");
}

void RtfToolTest::failures()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, message);
    QTemporaryDir directory;
    const QString path =
        content.isNull() ? directory.filePath("missing") : writeFile(directory, "input", content);
    QProcess tool;
    QCOMPARE(runTool(tool, {command, path}), 1);
    QVERIFY(tool.readAllStandardOutput().isEmpty());
    const QByteArray error = tool.readAllStandardError();
    QCOMPARE(error.count('\n'), 1);
    QVERIFY2(error.contains(message), error.constData());
}

QTEST_GUILESS_MAIN(RtfToolTest)
#include "tst_rtftool.moc"
