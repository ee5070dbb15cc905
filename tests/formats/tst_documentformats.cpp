#include "documents/FileSystemFaults.h"
#include "formats/AtomicFile.h"
#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"

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
    void writesTakenInPartsLeaveEveryByteInPlace();
    void aDocumentCarriesItsPage();

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

// Some file systems take part of a write and break off; the rest is written again from where
// the part ended, so the file holds each byte once, in order.
void tst_DocumentFormats::writesTakenInPartsLeaveEveryByteInPlace()
{
    QByteArray header;
    QByteArray body;
    for (int i = 0; i < 3000; ++i) {
        header += QByteArray::number(i) + ' ';
        body += QByteArray::number(i * 7) + '\n';
    }
    FileSystemFaults faults(m_dir.filePath(QStringLiteral("parts")));
    const QString path = m_dir.filePath(QStringLiteral("parts/copy.doc"));
    faults.takeWritesInParts(1000);
    QString error;
    QVERIFY2(AtomicFile::write(path, {header, body}, &error), qPrintable(error));

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), header + body);
}

QTEST_MAIN(tst_DocumentFormats)
// A copy made for printing prints on the document's own page, and a new one gets the paper of
// the writer's country.
void tst_DocumentFormats::aDocumentCarriesItsPage()
{
    QCOMPARE(PageSetup::forLocale(QLocale(QLocale::English, QLocale::UnitedStates)).paperWidth,
             12240);
    QCOMPARE(PageSetup::forLocale(QLocale(QLocale::German, QLocale::Germany)).paperWidth, 11906);

    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    QVERIFY(!PageSetup::isKeptIn(*document));
    PageSetup landscape{16838, 11906, 720, 1440, 1080, 360, true};
    landscape.keepIn(*document);
    const std::unique_ptr<QTextDocument> copy(document->clone());
    QCOMPARE(PageSetup::of(*copy), landscape);

    const QPageLayout layout = landscape.pageLayout();
    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
    QCOMPARE(layout.fullRect(QPageLayout::Point).size().toSize(), QSize(842, 595));
    QCOMPARE(layout.margins(QPageLayout::Point), QMarginsF(36, 54, 72, 18));
}

#include "tst_documentformats.moc"
