#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

class tst_DocumentFormats : public QObject
{
    Q_OBJECT

private slots:
    void writtenFileReadsBackTheSame();
    void readingSaysWhyThereIsNoDocument_data();
    void readingSaysWhyThereIsNoDocument();
    void aFailedWriteLeavesTheFileAsItWas();

private:
    QString write(const QString& name, const QByteArray& content);

    QTemporaryDir m_dir;
};

QString tst_DocumentFormats::write(const QString& name, const QByteArray& content)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

void tst_DocumentFormats::writtenFileReadsBackTheSame()
{
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("Grüße, мир"));
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral(" second"), italic);
    const QString path = m_dir.filePath(QStringLiteral("saved.doc"));
    QString error;
    QVERIFY2(DocumentFormats::writeFile(path, *document, DocumentFormats::rtf(), &error),
             qPrintable(error));

    const DocumentFormats::Read read = DocumentFormats::readFile(path);
    QVERIFY2(read.document, qPrintable(read.error));
    QCOMPARE(read.document->toPlainText(), document->toPlainText());
    QCOMPARE(DocumentFormats::rtf().write(*read.document, {}),
             DocumentFormats::rtf().write(*document, {}));
    QCOMPARE(read.document->defaultFont(), BlankDocument::defaultFont());
}

void tst_DocumentFormats::readingSaysWhyThereIsNoDocument_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("robustness: a Word binary named .doc")
        << write(QStringLiteral("word.doc"), QByteArray::fromHex("d0cf11e0a1b11ae1000000"));
    QTest::newRow("robustness: a missing file") << m_dir.filePath(QStringLiteral("missing.doc"));
    QTest::newRow("robustness: a folder") << m_dir.path();
}

void tst_DocumentFormats::readingSaysWhyThereIsNoDocument()
{
    QFETCH(QString, path);
    const DocumentFormats::Read read = DocumentFormats::readFile(path);
    QVERIFY(!read.document);
    QVERIFY(!read.error.isEmpty());
}

void tst_DocumentFormats::aFailedWriteLeavesTheFileAsItWas()
{
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    document->setPlainText(QStringLiteral("new text"));
    QString error;
    QVERIFY(!DocumentFormats::writeFile(m_dir.path(), *document, DocumentFormats::rtf(), &error));
    QVERIFY(!error.isEmpty());
    const QString inMissingFolder = m_dir.filePath(QStringLiteral("no/such/folder/x.doc"));
    QVERIFY(
        !DocumentFormats::writeFile(inMissingFolder, *document, DocumentFormats::rtf(), &error));
    QVERIFY(QFileInfo(m_dir.path()).isDir());
}

QTEST_MAIN(tst_DocumentFormats)
#include "tst_documentformats.moc"
