#include "RtfTestDocuments.h"

#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "tools/rtf/DocumentJson.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

/// Files written by other word processors, and hand-made ones in the style of older writers:
/// each must read as its expected JSON and write back stably.
class RtfFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void readsAsExpected_data();
    void readsAsExpected();
    void losses_data();
    void losses();
};

void RtfFilesTest::readsAsExpected_data()
{
    QTest::addColumn<QString>("path");
    const QDir data(QStringLiteral(QUILLMERE_RTF_DATA));
    const QStringList files = data.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    QVERIFY2(files.size() >= 9, "the RTF sample files are missing");
    for (const QString& file : files)
        QTest::newRow(qPrintable(QStringLiteral("nominal: ") + file)) << data.filePath(file);
}

void RtfFilesTest::readsAsExpected()
{
    QFETCH(QString, path);
    const auto document = RtfTestDocuments::read(RtfTestDocuments::contents(path));
    QString expectedPath = path;
    expectedPath.replace(QLatin1String(".rtf"), QLatin1String(".json"));
    QCOMPARE(QString::fromUtf8(DocumentJson::toJson(*document)),
             QString::fromUtf8(RtfTestDocuments::contents(expectedPath)).trimmed());

    const QByteArray written = RtfWriter::write(*document);
    const auto reread = RtfTestDocuments::read(written);
    QCOMPARE(DocumentJson::toJson(*reread), DocumentJson::toJson(*document));
    QCOMPARE(RtfWriter::write(*reread), written);
}

void RtfFilesTest::losses_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nominal: LibreOffice's tables are kept")
        << "libreoffice-writer.rtf" << QStringList();
    QTest::newRow("nominal: pandoc's tables are kept") << "pandoc.rtf" << QStringList();
    QTest::newRow("nominal: nothing lost from a plain legacy file")
        << "legacy-pn-bullets.rtf" << QStringList();
}

void RtfFilesTest::losses()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    const auto document = RtfTestDocuments::create();
    RtfReader reader;
    QVERIFY(reader.read(RtfTestDocuments::contents(QStringLiteral(QUILLMERE_RTF_DATA "/") + file),
                        document.get()));
    QCOMPARE(reader.losses(), expected);
}

QTEST_GUILESS_MAIN(RtfFilesTest)
#include "tst_rtffiles.moc"
