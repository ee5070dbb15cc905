#include "documents/FileSystemFaults.h"
#include "formats/AtomicFile.h"
#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"
#include "formats/base/DocumentInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <set>

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
    void formatIsChosenByContentThenName_data();
    void formatIsChosenByContentThenName();
    void eachFormatReadsBackWhatItWrote_data();
    void eachFormatReadsBackWhatItWrote();
    void markdownReadsAsItWasWritten_data();
    void markdownReadsAsItWasWritten();
    void notesKeepTheirMarksAndNumbering_data();
    void notesKeepTheirMarksAndNumbering();
    void formatsNameWhatTheyCannotKeep_data();
    void formatsNameWhatTheyCannotKeep();

private:
    QString write(const QString& name, const QByteArray& content);

    QTemporaryDir m_dir;
};

namespace {

// A file LibreOffice wrote, from the formats tests' data.
QByteArray dataFile(const char* name)
{
    QFile file(QStringLiteral(QUILLMERE_FORMATS_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

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

void tst_DocumentFormats::formatIsChosenByContentThenName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("nominal: RTF named .txt") << "a.txt" << QByteArray("{\\rtf1 hi}") << "RTF"
                                             << "hi";
    QTest::newRow("nominal: a web page named .txt")
        << "a.txt" << QByteArray("<!-- saved -->\n<!DOCTYPE html><p>hi</p>") << "HTML"
        << "hi";
    QTest::newRow("nominal: Markdown by its name")
        << "a.md" << QByteArray("# Title\n\n*one*") << "Markdown"
        << "Title\none";
    QTest::newRow("nominal: HTML without a doctype, by its name")
        << "a.htm" << QByteArray("<p>one</p><p>two</p>") << "HTML"
        << "one\ntwo";
    QTest::newRow("edge: notes with no extension are text")
        << "notes" << QByteArray("line one\r\nline two\r\n\x1a") << "Text"
        << "line one\nline two";
    QTest::newRow("edge: UTF-16 text") << "a.txt" << QByteArray("\xff\xfeh\0\xe9\0", 6) << "Text"
                                       << "h\u00e9";
    QTest::newRow("edge: Windows-1252 text with old Mac lines")
        << "a.txt" << QByteArray("caf\xe9\rna\xefve") << "Text"
        << "caf\u00e9\nna\u00efve";
    QTest::newRow("robustness: a picture is no document")
        << "photo.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QString() << QString();
    QTest::newRow("robustness: binary named .txt")
        << "a.txt" << QByteArray("ab\0cd", 5) << QString() << QString();
}

void tst_DocumentFormats::formatIsChosenByContentThenName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(QString, text);
    const DocumentFormats::Read read = DocumentFormats::readFile(write(name, bytes));
    QCOMPARE(bool(read.document), !format.isEmpty());
    if (!read.document) {
        QVERIFY(!read.error.isEmpty());
        return;
    }
    QCOMPARE(read.format->name, format);
    QCOMPARE(read.document->toPlainText(), text);
}

void tst_DocumentFormats::eachFormatReadsBackWhatItWrote_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("nominal: Markdown")
        << "notes.md"
        << QByteArray("# Harbour\n\n**Bold** *it* ~~gone~~ [link](https://x.org)\n\n1. one\n2. "
                      "two\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n> quoted\n");
    QTest::newRow("nominal: HTML")
        << "page.html"
        << QByteArray("<html><head><title>Harbour</title><meta name='author' content='Jane'>"
                      "</head><body><p align=center><b>Bold</b> <a href='https://x.org'>link</a>"
                      "</p><ol><li>one</li><li>two</li></ol><table border=1><tr><td>a</td>"
                      "</tr></table><p style='color:#c00000; font-size:14pt'>red</p></body>");
    QTest::newRow("nominal: text") << "notes.txt" << QByteArray("one\n\ntwo\n");
    QTest::newRow("edge: text of a long line")
        << "long.txt" << QByteArray(5000, 'w') + QByteArray("\n");
    for (const char* file :
         {"libreoffice-writer.odt", "libreoffice-nested-table.odt", "libreoffice-footnotes.odt"})
        QTest::addRow("nominal: ODT %s", file) << file << dataFile(file);
    for (const char* file : {"libreoffice.docx"})
        QTest::addRow("nominal: DOCX %s", file) << file << dataFile(file);
}

// What a format holds of a file survives writing it back and reading it again.
void tst_DocumentFormats::eachFormatReadsBackWhatItWrote()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, source);
    const DocumentFormats::Read first = DocumentFormats::readFile(write(name, source));
    QVERIFY2(first.document, qPrintable(first.error));
    const QByteArray written = first.format->write(*first.document, {});
    const DocumentFormats::Read again = DocumentFormats::readFile(write(name, written));
    QVERIFY2(again.document, qPrintable(again.error));
    QCOMPARE(again.format, first.format);
    QCOMPARE(DocumentFormats::rtf().write(*again.document, {}),
             DocumentFormats::rtf().write(*first.document, {}));
    QCOMPARE(DocumentInfo::of(*again.document), DocumentInfo::of(*first.document));
}

void tst_DocumentFormats::markdownReadsAsItWasWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("lists");
    QTest::newRow("edge: a cell of two paragraphs and a line break")
        << "cell.html"
        << QByteArray("<table><tr><td><p>one</p><p>two<br>three</p></td><td>four</td></tr>"
                      "<tr><td>five</td><td></td></tr></table><p>after</p>")
        << "one/two/three/four/five/after" << 0;
    QTest::newRow("edge: a table of one row, in a cell")
        << "inner.html"
        << QByteArray("<table><tr><td>outer</td><td><table><tr><td>in1</td><td>in2</td></tr>"
                      "</table></td></tr></table><p>after</p>")
        << "outer/in1/in2/after" << 0;
    QTest::newRow("edge: two numbered lists one after the other")
        << "lists.html"
        << QByteArray("<ol><li>one</li><li>two</li></ol><ol type=a><li>three</li></ol><p>after</p>")
        << "one/two/three/after" << 2;
    QTest::newRow("nominal: a line break")
        << "break.html" << QByteArray("<p>one<br>two</p><p>after</p>") << "one/two/after" << 0;
    QTest::newRow("edge: an HTML line break in Markdown")
        << "break.md" << QByteArray("one <br> two `<br>`\n\nafter\n") << "one/two <br>/after" << 0;
}

// Tables, line breaks and lists are written so that a Markdown reader, ours as others, reads
// them as they were: every row of a pipe table as many cells as its rule, nothing dropped.
void tst_DocumentFormats::markdownReadsAsItWasWritten()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, source);
    QFETCH(QString, lines);
    QFETCH(int, lists);
    const DocumentFormats::Read first = DocumentFormats::readFile(write(name, source));
    QVERIFY2(first.document, qPrintable(first.error));
    const QByteArray markdown = DocumentFormats::markdown().write(*first.document, {});
    qsizetype cells = -1;
    for (const QByteArray& line : markdown.split('\n'))
        if (line.startsWith('|'))
            QCOMPARE(line.count('|'), cells < 0 ? (cells = line.count('|')) : cells);
    const DocumentFormats::Read again = DocumentFormats::readFile(write(u"again.md"_qs, markdown));
    QVERIFY2(again.document, qPrintable(again.error));
    QStringList read;
    for (const QString& line : again.document->toPlainText().split(u'\n'))
        if (!line.trimmed().isEmpty())
            read.append(line.simplified());
    QCOMPARE(read.join(u'/'), lines);
    std::set<const QTextList*> readLists;
    for (QTextBlock block = again.document->begin(); block.isValid(); block = block.next())
        if (block.textList())
            readLists.insert(block.textList());
    QCOMPARE(int(readLists.size()), lists);
}

void tst_DocumentFormats::notesKeepTheirMarksAndNumbering_data()
{
    QTest::addColumn<QString>("format");
    for (const char* format : {"RTF", "ODT", "DOCX"})
        QTest::addRow("nominal: %s", format) << format;
}

// A footnote, one with a mark of the writer's own, which takes no number, and endnotes that
// count their own, in letters from c.
void tst_DocumentFormats::notesKeepTheirMarksAndNumbering()
{
    QFETCH(QString, format);
    const QByteArray rtf(
        "{\\rtf1\\aftnnalc\\aftnstart3 "
        "A{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} One.}, "
        "B{\\super *}{\\footnote\\pard\\plain{\\super *} Starred.}, "
        "C{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Two.} "
        "D{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} End.}}");
    const std::unique_ptr<QTextDocument> source = DocumentFormats::rtf().read(rtf, {}).document;
    const QString text = QStringLiteral("A1, B*, C2 Dc\nNotes\n1 One.\n* Starred.\n2 Two.\nc End.");
    QCOMPARE(source->toPlainText(), text);
    const DocumentFormats::Format* kept = DocumentFormats::named(format);
    const DocumentFormats::Read again = kept->read(kept->write(*source, {}), {});
    QVERIFY2(again.document, qPrintable(again.error));
    QCOMPARE(again.document->toPlainText(), text);
    // The text as RTF writes it, after the page a format may add.
    const auto body = [](QTextDocument& document) {
        const QByteArray rtf = DocumentFormats::rtf().write(document, {});
        return rtf.sliced(rtf.indexOf("\\uc1"));
    };
    QCOMPARE(body(*again.document), body(*source));
}

void tst_DocumentFormats::formatsNameWhatTheyCannotKeep_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("losses");
    QTest::newRow("nominal: plain words lose nothing")
        << "Text"
        << "<p>plain</p><p>words</p>" << QStringList();
    QTest::newRow("nominal: text loses emphasis and colour")
        << "Text"
        << "<p><b>bold</b> <span style='color:#ff0000'>red</span></p>"
        << QStringList{"bold, italic and strike-through", "colours"};
    QTest::newRow("nominal: Markdown keeps emphasis, loses fonts")
        << "Markdown"
        << "<p><b>bold</b> <span style='font-family:Serif'>face</span></p>"
        << QStringList{"fonts and sizes"};
    QTest::newRow("edge: Markdown keeps quotations and their indents")
        << "Markdown"
        << "<blockquote>quoted</blockquote>" << QStringList();
    QTest::newRow("edge: HTML keeps colours and fonts")
        << "HTML"
        << "<p style='color:#ff0000; font-family:Serif'>red</p>" << QStringList();
}

void tst_DocumentFormats::formatsNameWhatTheyCannotKeep()
{
    QFETCH(QString, format);
    QFETCH(QString, html);
    QFETCH(QStringList, losses);
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    document->setHtml(html);
    QCOMPARE(DocumentFormats::named(format)->losses(*document), losses);
}
