#include "formats/base/XmlWriter.h"

#include <QTest>

#include <functional>

class tst_XmlWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesWhatQtsWriterWould_data();
    void writesWhatQtsWriterWould();
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

QTEST_APPLESS_MAIN(tst_XmlWriter)
#include "tst_xmlwriter.moc"
