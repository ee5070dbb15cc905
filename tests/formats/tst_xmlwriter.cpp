#include "formats/base/PartDeflater.h"
#include "formats/base/XmlWriter.h"

#include <QBuffer>
#include <QTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <array>
#include <functional>

using namespace Qt::StringLiterals;

class tst_XmlWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesWhatQtsWriterWould_data();
    void writesWhatQtsWriterWould();
    void partDeflatedInPiecesReadsBackWhole_data();
    void partDeflatedInPiecesReadsBackWhole();
    void wholePartLargerThanAPieceReadsBack();
    void shortMarkupIsTakenAtItsSize();
};

using Calls = std::function<void(XmlWriter&)>;
Q_DECLARE_METATYPE(Calls)

void tst_XmlWriter::writesWhatQtsWriterWould_data()
{
    QTest::addColumn<Calls>("calls");
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("nominal: nested elements, attributes and text")
        << Calls([](XmlWriter& xml) {
               xml.writeStartDocument();
               xml.writeStartElement(u"w:p");
               xml.writeAttribute(u"w:val", u"a");
               xml.writeEmptyElement(u"w:b");
               xml.writeTextElement(u"w:t", u"caf\u00e9 \u65e5");
               xml.writeEndDocument();
           })
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<w:p w:val=\"a\"><w:b/>"
                      "<w:t>caf\xc3\xa9 \xe6\x97\xa5</w:t></w:p>\n");
    QTest::newRow("nominal: an element with nothing in it closes itself")
        << Calls([](XmlWriter& xml) {
               xml.writeStartElement(u"a");
               xml.writeStartElement(u"b");
               xml.writeEndElement();
               xml.writeEndElement();
           })
        << QByteArray("<a><b/></a>");
    QTest::newRow("edge: markup characters are escaped, quotes and breaks only in attributes")
        << Calls([](XmlWriter& xml) {
               xml.writeStartElement(u"a");
               xml.writeAttribute(u"v", u"<\"&>\n\t");
               xml.writeCharacters(u"<\"&>\n\t\r");
               xml.writeEndElement();
           })
        << QByteArray("<a v=\"&lt;&quot;&amp;&gt;&#10;&#9;\">&lt;\"&amp;&gt;\n\t&#13;</a>");
    QTest::newRow("edge: a character beyond the first plane is one UTF-8 sequence")
        << Calls([](XmlWriter& xml) { xml.writeCharacters(u"\U0001F600"); })
        << QByteArray("\xf0\x9f\x98\x80");
    QTest::newRow("robustness: what XML cannot hold is left out") << Calls([](XmlWriter& xml) {
        xml.writeCharacters(QStringView(u"a\u0001b\uffffc"));
        xml.writeCharacters(QString(QChar(0xd800)) + u'd' + QChar(0xdc00));
        xml.writeCharacters(QLatin1StringView("\x02"
                                              "e\xe9"));
    }) << QByteArray("abcde\xc3\xa9");
    QTest::newRow("robustness: markup made elsewhere goes in as it is")
        << Calls([](XmlWriter& xml) {
               xml.writeStartElement(u"r");
               xml.writeRaw("<rPr/>");
               xml.writeEndElement();
           })
        << QByteArray("<r><rPr/></r>");
    // Plain ASCII goes out eight characters at a time: what breaks a block is met at each place.
    const std::array<std::pair<QString, QByteArray>, 5> others = {{{u"&"_s, "&amp;"},
                                                                   {u"<"_s, "&lt;"},
                                                                   {u"\x01"_s, ""},
                                                                   {u"\u00e9"_s, "\xc3\xa9"},
                                                                   {u"\u8000"_s, "\xe8\x80\x80"}}};
    QByteArray placed;
    for (const auto& [other, escaped] : others)
        for (int at = 0; at < 18; ++at)
            placed += QByteArray(at, 'x') + escaped + QByteArray(17 - at, '~');
    QTest::newRow("edge: what plain text cannot hold, at every place among eight")
        << Calls([others](XmlWriter& xml) {
               for (const auto& [other, escaped] : others)
                   for (int at = 0; at < 18; ++at)
                       xml.writeCharacters(QString(at, u'x') + other + QString(17 - at, u'~'));
           })
        << placed;
    // Short markup is copied in overlapping words, the longest by memcpy: every length in
    // between must come out whole.
    QByteArray lengths;
    for (int length = 0; length <= 300; ++length)
        for (int at = 0; at < length; ++at)
            lengths += char('a' + (length + at) % 26);
    QTest::newRow("edge: markup of every length goes in whole") << Calls([](XmlWriter& xml) {
        for (int length = 0; length <= 300; ++length) {
            QByteArray markup;
            for (int at = 0; at < length; ++at)
                markup += char('a' + (length + at) % 26);
            xml.writeRaw(markup);
        }
    }) << lengths;
}

void tst_XmlWriter::writesWhatQtsWriterWould()
{
    QFETCH(Calls, calls);
    QFETCH(QByteArray, xml);
    XmlWriter writer;
    calls(writer);
    QCOMPARE(writer.take(), xml);
    QCOMPARE(writer.take(), QByteArray());
}

void tst_XmlWriter::partDeflatedInPiecesReadsBackWhole_data()
{
    QTest::addColumn<qsizetype>("pieceSize");
    QTest::addColumn<int>("paragraphs");
    QTest::newRow("nominal: many pieces, the part's start put before them") << qsizetype(64) << 500;
    QTest::newRow("edge: one piece, no worker") << PartDeflater::pieceSize << 500;
    QTest::newRow("edge: nothing but the start") << qsizetype(64) << 0;
}

namespace {

// The part as a zip package holds it, read back by the zip library, which checks its size and
// checksum as it reads; empty when it finds them wrong.
QByteArray readBack(const DeflatedPart& part)
{
    QByteArray zipped;
    QBuffer buffer(&zipped);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    if (!PartDeflater::write(zip, u"part.xml"_qs, QDateTime::currentDateTime(), part))
        return {};
    zip.close();
    QuaZip unzip(&buffer);
    unzip.open(QuaZip::mdUnzip);
    unzip.setCurrentFile(u"part.xml"_qs);
    QuaZipFile file(&unzip);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    file.close();
    return file.getZipError() == UNZ_OK ? bytes : QByteArray();
}

} // namespace

void tst_XmlWriter::partDeflatedInPiecesReadsBackWhole()
{
    QFETCH(qsizetype, pieceSize);
    QFETCH(int, paragraphs);
    XmlWriter body;
    PartDeflater deflater;
    body.setSink([&deflater](QByteArray piece) { return deflater.add(std::move(piece)); },
                 pieceSize);
    QByteArray whole = "<body>";
    for (int paragraph = 0; paragraph < paragraphs; ++paragraph) {
        body.writeStartElement(u"p");
        body.writeCharacters(QString::number(paragraph) + u" caf\u00e9"_qs);
        body.writeEndElement();
        whole += "<p>" + QByteArray::number(paragraph) + " caf\xc3\xa9</p>";
    }
    deflater.prepend("<body>");
    const DeflatedPart part = deflater.finish(body.take() + "</body>");
    whole += "</body>";
    QCOMPARE(part.size, whole.size());
    QCOMPARE(readBack(part), whole);
}

void tst_XmlWriter::wholePartLargerThanAPieceReadsBack()
{
    QByteArray bytes;
    for (int line = 0; bytes.size() < PartDeflater::pieceSize * 5 / 2; ++line)
        bytes += "<p>" + QByteArray::number(line * 7919) + "</p>\n";
    QCOMPARE(readBack(PartDeflater::deflate(bytes)), bytes);
}

// Markup kept by the thousand, one format's properties each, holds no more room than it needs.
void tst_XmlWriter::shortMarkupIsTakenAtItsSize()
{
    XmlWriter writer;
    writer.writeStartElement(u"w:b");
    writer.writeEndElement();
    const QByteArray taken = writer.take();
    QCOMPARE(taken, QByteArray("<w:b/>"));
    QVERIFY(taken.capacity() < 64);
}

QTEST_APPLESS_MAIN(tst_XmlWriter)
#include "tst_xmlwriter.moc"
