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
    void passesOverElementsReadBefore_data();
    void passesOverElementsReadBefore();
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
    QTest::newRow("robustness: an instruction cut short after its \"<?\"")
        << QByteArray("<a/><?>") << u"ends before"_qs;
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

void tst_XmlReader::passesOverElementsReadBefore_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("rest");
    const QString next = u"<|next>\n</next>\n</r>"_qs;
    const auto twice = [](const QByteArray& element) {
        return "<r>" + element + element + "<next/></r>";
    };
    for (const QByteArray& element : {QByteArray("<a x=\"1\"><b/>t</a>"), QByteArray("<a/>"),
                                      QByteArray("<a><c><a>x</a></c><a/></a>"),
                                      QByteArray("<a><b v='x>'/><!--</a>--><![CDATA[</a>]]></a >")})
        QTest::newRow(("nominal: " + element).constData())
            << twice(element) << element << true << next;
    QTest::newRow("edge: longer than asked for")
        << QByteArray("<r><a>text longer than the limit of the test, which is sixty-four "
                      "bytes</a><next/></r>")
        << QByteArray() << false << next;
    QTest::newRow("edge: under a namespace declared below the root")
        << QByteArray("<r xmlns:t=\"urn:t\"><s xmlns:t=\"urn:u\"><a/></s><next/></r>")
        << QByteArray() << false << u"</s>\n"_qs + next;
    QTest::newRow("robustness: malformed bytes after an element passed over")
        << QByteArray("<r><a/><a/><next></r>") << QByteArray("<a/>") << true
        << u"<|next>\nerror: an end tag that does not match its start tag"_qs;
    QTest::newRow("robustness: an element unread whole is not passed over")
        << QByteArray("<r><a><b v=\"<\"/></a><next/></r>") << QByteArray("<a><b v=\"<\"/></a>")
        << false << u"error: a \"<\" in an attribute's value"_qs;
    QTest::newRow("robustness: never closed")
        << QByteArray("<r><a><a></a>") << QByteArray() << false
        << u"error: it ends before its elements close"_qs;
}

// Reads the first <a>, then passes over the next when the first was read whole, as a reader
// that keeps what elements made would.
void tst_XmlReader::passesOverElementsReadBefore()
{
    QFETCH(QByteArray, xml);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, whole);
    QFETCH(QString, rest);
    XmlReader reader(xml);
    while (reader.readNext() != XmlReader::StartElement || reader.name() != u"a")
        QVERIFY(!reader.atEnd());
    const QByteArrayView first = reader.elementBytes(64);
    QCOMPARE(first.toByteArray(), bytes);
    reader.skipCurrentElement();
    QCOMPARE(reader.readWhole(first), whole);
    if (whole) {
        QVERIFY(reader.readNextStartElement());
        const QByteArrayView second = reader.elementBytes(64);
        QCOMPARE(second.toByteArray(), bytes);
        reader.skipElement(second);
        QCOMPARE(reader.tokenType(), XmlReader::EndElement);
        QCOMPARE(reader.name(), u"a"_qs);
    }
    QCOMPARE(trace(reader), rest);
}

QTEST_APPLESS_MAIN(tst_XmlReader)
#include "tst_xmlreader.moc"
