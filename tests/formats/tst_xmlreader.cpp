#include "formats/base/XmlReader.h"

#include <QTest>

class tst_XmlReader : public QObject
{
    Q_OBJECT

private slots:
    void readsTokens_data();
    void readsTokens();
    void refuses_data();
    void refuses();
    void copiedAttributesOutliveTheirToken();
    void readsElementText_data();
    void readsElementText();
};

namespace {

// The tokens read, one a line: elements with their namespace and attributes, text quoted.
QString trace(XmlReader& xml)
{
    QStringList lines;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case XmlReader::StartElement: {
            QString line = u'<' + xml.namespaceUri().toString() + u'|' + xml.name().toString();
            for (const XmlAttribute& attribute : xml.attributes())
                line += u' ' + attribute.namespaceUri().toString() + u'|' +
                        attribute.name().toString() + u'=' + attribute.value().toString();
            lines << line + u'>';
            break;
        }
        case XmlReader::EndElement:
            lines << u"</"_qs + xml.name().toString() + u'>';
            break;
        case XmlReader::Characters:
            lines << u'"' + xml.text().toString() + u'"';
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        lines << u"error: "_qs + xml.errorString();
    return lines.join(u'\n');
}

} // namespace

void tst_XmlReader::readsTokens_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("namespaces");
    QTest::addColumn<QString>("tokens");
    QTest::newRow("nominal: declaration, nesting, empty element, either quote")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a x=\"1\" y='2\"'><b/>t</a>\n")
        << true << u"<|a |x=1 |y=2\">\n<|b>\n</b>\n\"t\"\n</a>"_qs;
    QTest::newRow("nominal: the five entities and character references")
        << QByteArray("<a v=\"&lt;&amp;&#x41;\">&lt;&gt;&amp;&apos;&quot;&#233;&#x1F600;</a>")
        << true << u"<|a |v=<&A>\n\"<>&'\"\u00e9\U0001F600\"\n</a>"_qs;
    QTest::newRow("nominal: CDATA, comments and instructions")
        << QByteArray("<!--c--><a><?pi x?><![CDATA[<b>&amp;]]><!-- - --></a>") << true
        << u"<|a>\n\"<b>&amp;\"\n</a>"_qs;
    QTest::newRow("nominal: prefixes name namespaces, which nest and end with their element")
        << QByteArray(
               "<t:a xmlns:t=\"urn:t\" xmlns=\"urn:d\" t:v=\"1\" w=\"2\"><b xmlns:t=\"urn:u\" "
               "t:v=\"3\"/><t:c/></t:a>")
        << true << u"<urn:t|a urn:t|v=1 |w=2>\n<urn:d|b urn:u|v=3>\n</b>\n<urn:t|c>\n</c>\n</a>"_qs;
    QTest::newRow("edge: without namespaces, prefixes need no declaring")
        << QByteArray("<w:p w:val=\"x\"/>") << false << u"<|p |val=x>\n</p>"_qs;
    QTest::newRow("edge: line ends become one; white space in a value a space")
        << QByteArray("<a v=\"1\r\n2\t3&#10;\">x\r\ny\rz</a>") << true
        << u"<|a |v=1 2 3\n>\n\"x\ny\nz\"\n</a>"_qs;
    QTest::newRow("edge: multibyte UTF-8 and a byte order mark")
        << QByteArray("\xef\xbb\xbf<a>caf\xc3\xa9 \xe6\x97\xa5 long enough to decode in one</a>")
        << true << u"<|a>\n\"caf\u00e9 \u65e5 long enough to decode in one\"\n</a>"_qs;
    QTest::newRow("edge: UTF-16 and Latin-1 are read as what they are")
        << QByteArray("\xff\xfe<\0a\0>\0\xe9\0<\0/\0a\0>\0", 18) << true
        << u"<|a>\n\"\u00e9\"\n</a>"_qs;
    QTest::newRow("edge: Latin-1 declared")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe9</a>") << true
        << u"<|a>\n\"\u00e9\"\n</a>"_qs;
}

void tst_XmlReader::readsTokens()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, namespaces);
    QFETCH(QString, tokens);
    XmlReader reader(xml);
    reader.setNamespaceProcessing(namespaces);
    QCOMPARE(trace(reader), tokens);
}

void tst_XmlReader::refuses_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    QTest::newRow("robustness: a document type, whose entities could expand without bound")
        << QByteArray("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>") << u"document type"_qs;
    QTest::newRow("robustness: an entity never declared")
        << QByteArray("<a>&e;</a>") << u"no document type declares"_qs;
    QTest::newRow("robustness: a reference to no character")
        << QByteArray("<a>&#0;</a>") << u"does not hold"_qs;
    QTest::newRow("robustness: cut short in text") << QByteArray("<a><b>x") << u"ends before"_qs;
    QTest::newRow("robustness: cut short in a tag")
        << QByteArray("<a><b v=\"1") << u"ends before"_qs;
    QTest::newRow("robustness: cut short in a comment")
        << QByteArray("<a><!-- x") << u"ends before"_qs;
    QTest::newRow("robustness: crossed elements")
        << QByteArray("<a><b></a></b>") << u"does not match"_qs;
    QTest::newRow("robustness: two roots") << QByteArray("<a/><b/>") << u"second root"_qs;
    QTest::newRow("robustness: an undeclared prefix")
        << QByteArray("<t:a/>") << u"no namespace was declared"_qs;
    QTest::newRow("robustness: \"<\" in a value")
        << QByteArray("<a v=\"<\"/>") << u"attribute's value"_qs;
    QTest::newRow("robustness: an unknown encoding")
        << QByteArray("<?xml version=\"1.0\" encoding=\"x-nothing\"?><a/>") << u"encoding"_qs;
}

void tst_XmlReader::refuses()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    XmlReader reader(xml);
    const QString tokens = trace(reader);
    QVERIFY2(reader.hasError() && reader.errorString().contains(error), qPrintable(tokens));
    QCOMPARE(reader.readNext(), XmlReader::Invalid);
}

// A run's attributes are kept while its children are read.
void tst_XmlReader::copiedAttributesOutliveTheirToken()
{
    XmlReader reader("<a><r id=\"kept\"><t>long text that takes the reader's buffer</t></r></a>");
    QVERIFY(reader.readNextStartElement());
    QVERIFY(reader.readNextStartElement());
    const XmlAttributes kept = reader.attributes();
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.readElementText(), u"long text that takes the reader's buffer"_qs);
    QCOMPARE(kept.value(u"id"), u"kept"_qs);
}

void tst_XmlReader::readsElementText_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("error");
    QTest::newRow("nominal: children's text included")
        << int(XmlReader::IncludeChildElements) << u"ab&c d"_qs << false;
    QTest::newRow("nominal: children skipped")
        << int(XmlReader::SkipChildElements) << u"a d"_qs << false;
    QTest::newRow("robustness: a child where text alone may be")
        << int(XmlReader::ErrorOnUnexpectedElement) << u"a"_qs << true;
}

// Reads the text of <t>, then the element after it: the reader stands at </t>.
void tst_XmlReader::readsElementText()
{
    QFETCH(int, behaviour);
    QFETCH(QString, text);
    QFETCH(bool, error);
    XmlReader reader("<r><t>a<i>b<!--x--><i>&amp;c</i></i> d</t><next/></r>");
    QVERIFY(reader.readNextStartElement());
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.readElementText(XmlReader::ReadElementTextBehaviour(behaviour)), text);
    QCOMPARE(reader.hasError(), error);
    QCOMPARE(reader.readNextStartElement(), !error);
    if (!error)
        QCOMPARE(reader.name(), u"next"_qs);
}

QTEST_APPLESS_MAIN(tst_XmlReader)
#include "tst_xmlreader.moc"
