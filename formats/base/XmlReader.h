#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringView>
#include <QVarLengthArray>

#include <unordered_set>
#include <vector>

class XmlAttribute
{
public:
    QStringView name() const { return m_name; }
    QStringView prefix() const { return m_prefix; }
    QStringView qualifiedName() const { return m_qualifiedName; }
    QStringView namespaceUri() const { return m_namespaceUri; }
    QStringView value() const { return m_value; }

private:
    friend class XmlReader;
    QStringView m_name, m_prefix, m_qualifiedName, m_namespaceUri, m_value;
};

/// The attributes of a start tag. A copy stays valid as the reader reads on, as long as the
/// reader lives.
class XmlAttributes
{
public:
    using const_iterator = const XmlAttribute*;
    const_iterator begin() const { return m_list.cbegin(); }
    const_iterator end() const { return m_list.cend(); }
    qsizetype size() const { return m_list.size(); }
    /// Null when there is no such attribute.
    QStringView value(QAnyStringView namespaceUri, QAnyStringView name) const;
    QStringView value(QAnyStringView qualifiedName) const;

private:
    friend class XmlReader;
    /// Shares the reader's text, which the attributes' views point into.
    QString m_text;
    QVarLengthArray<XmlAttribute, 8> m_list;
};

/// Reads UTF-8 XML a token at a time, as QXmlStreamReader does for the calls the zip formats
/// make, at a fraction of its cost: their parts are millions of elements. It reads no document
/// type declaration, so declared entities cannot expand; a part written in UTF-16 or Latin-1 is
/// converted first.
class XmlReader
{
public:
    enum TokenType {
        NoToken,
        Invalid,
        StartDocument,
        EndDocument,
        StartElement,
        EndElement,
        Characters,
        Comment,
        ProcessingInstruction
    };
    enum ReadElementTextBehaviour {
        ErrorOnUnexpectedElement,
        IncludeChildElements,
        SkipChildElements
    };

    explicit XmlReader(const QByteArray& data);

    /// Without, names keep their prefixes apart but no prefix need be declared: some writers
    /// leave one undeclared, which Word and LibreOffice pass over.
    void setNamespaceProcessing(bool on) { m_namespaces = on; }

    TokenType readNext();
    /// Reads on to the next start tag within the current element; false at its end.
    bool readNextStartElement();
    void skipCurrentElement();
    /// The text of the current element, which the reader leaves at its end.
    QString readElementText(ReadElementTextBehaviour behaviour = ErrorOnUnexpectedElement);
    /// The same appended to text, which can keep its room from one element to the next.
    void readElementText(QString& text,
                         ReadElementTextBehaviour behaviour = ErrorOnUnexpectedElement);

    /// At a start tag: the element's bytes as they stand, start tag to end tag, found without
    /// reading them; empty when longer than limit or not to be told apart so. A reader can then
    /// learn once what the same bytes make.
    QByteArrayView elementBytes(qsizetype limit) const;
    /// Just after reading the element elementBytes() gave: whether it was read whole, without
    /// error, ending where they end.
    bool readWhole(QByteArrayView bytes) const;
    /// Passes over the element started, as skipCurrentElement() does, without reading it. Only
    /// for bytes from elementBytes() that this reader read whole before: they are not checked.
    void skipElement(QByteArrayView bytes);

    TokenType tokenType() const { return m_type; }
    bool atEnd() const { return m_type == EndDocument || m_type == Invalid; }
    bool hasError() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }
    void raiseError(const QString& message);
    qint64 lineNumber() const;
    /// How far into the part the reader is, in bytes.
    qint64 bytesRead() const { return m_at - m_begin; }

    /// The local name of the element started or ended; its prefix is apart.
    QStringView name() const { return m_name; }
    QStringView prefix() const { return m_prefix; }
    QStringView namespaceUri() const { return m_namespaceUri; }
    QStringView text() const { return m_textView; }
    const XmlAttributes& attributes() const { return m_attributes; }

private:
    struct Span
    {
        qsizetype at, size;
    };
    /// An attribute as it stands in the data, and decoded.
    struct RawAttribute
    {
        Span name, value;
        Span qualified = {}, text = {};
        bool declares = false;
    };
    struct Declaration
    {
        QString prefix;
        const QString* uri;
        qsizetype depth;
    };

    void decodeInput(const QByteArray& data);
    TokenType fail(const QString& message);
    TokenType ended();
    TokenType readDeclaration();
    TokenType readMarkup();
    TokenType readInstruction();
    TokenType readSpecial();
    TokenType readStartTag();
    TokenType readEndTag();
    TokenType readText();
    TokenType closeElement(Span name);
    bool scopeAsAtRoot() const;
    const char* findEnd(const char* limit) const;
    Span readName(const char*& at) const;
    bool readAttribute(const char*& at, RawAttribute& attribute);
    bool startElement(Span name);
    void declare(QStringView prefix, QStringView uri);
    const QString* resolve(QStringView prefix) const;
    bool setName(Span element, bool starting);

    const char* find(char c) const;
    /// Where text next starts; null when nowhere.
    const char* find(const char* text) const;
    bool startsWith(const char* text) const;
    void newToken();
    QChar* room(qsizetype size);
    Span decode(const char* from, const char* to);
    bool appendValue(const char* from, const char* to, bool attribute);
    bool appendReference(const char*& at, const char* end);
    void normalizeLines(Span text);
    void normalizeSpaces(Span text);
    QStringView view(Span span) const;

    QByteArray m_data;
    const char* m_begin = nullptr;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
    /// Where the last start tag started.
    const char* m_tagStart = nullptr;
    QStringDecoder m_decoder;
    bool m_namespaces = true;
    TokenType m_type = NoToken;
    QString m_error;
    /// The text of the current token: names, values, characters; the views point into it.
    QString m_text;
    qsizetype m_used = 0;
    QStringView m_name, m_prefix, m_namespaceUri, m_textView;
    XmlAttributes m_attributes;
    std::vector<RawAttribute> m_raw;
    /// The qualified names of the elements open, as they stand in the data.
    std::vector<Span> m_open;
    bool m_closePending = false;
    bool m_rootSeen = false;
    std::vector<Declaration> m_declarations;
    /// Every namespace declared, once each; the views of copied attributes point into it.
    std::unordered_set<QString> m_uris;
};
