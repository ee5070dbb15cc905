#include "formats/base/XmlReader.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("XmlReader", text);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool endsName(char c)
{
    return isSpace(c) || c == '/' || c == '>' || c == '=' || c == '<' || c == '"' || c == '\'' ||
           c == '&';
}

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The encoding the XML declaration names, if the data starts with one.
QByteArray declaredEncoding(const QByteArray& data)
{
    if (!data.startsWith("<?xml"))
        return {};
    const QByteArray declaration = data.left(data.indexOf("?>"));
    const qsizetype name = declaration.indexOf("encoding");
    const qsizetype open = name < 0 ? -1 : declaration.indexOf('=', name);
    qsizetype start = open + 1;
    while (start > 0 && start < declaration.size() && isSpace(declaration[start]))
        ++start;
    if (open < 0 || start >= declaration.size())
        return {};
    const qsizetype close = declaration.indexOf(declaration[start], start + 1);
    return close < 0 ? QByteArray() : declaration.sliced(start + 1, close - start - 1).toLower();
}

// Names are short: a plain look finds their colon sooner than a search made for long text.
qsizetype colonIn(QStringView name)
{
    for (qsizetype at = 0; at < name.size(); ++at)
        if (name[at] == u':')
            return at;
    return -1;
}

const QString s_xmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

} // namespace

QStringView XmlAttributes::value(QAnyStringView namespaceUri, QAnyStringView name) const
{
    for (const XmlAttribute& attribute : m_list)
        if (attribute.name() == name && attribute.namespaceUri() == namespaceUri)
            return attribute.value();
    return {};
}

QStringView XmlAttributes::value(QAnyStringView qualifiedName) const
{
    for (const XmlAttribute& attribute : m_list)
        if (attribute.qualifiedName() == qualifiedName)
            return attribute.value();
    return {};
}

XmlReader::XmlReader(const QByteArray& data)
    : m_decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
{
    decodeInput(data);
    m_begin = m_data.constData();
    m_end = m_begin + m_data.size();
    if (m_data.startsWith("\xef\xbb\xbf"))
        m_begin += 3;
    m_at = m_begin;
}

// Parts come in UTF-8 almost always; the rest are made UTF-8 first.
void XmlReader::decodeInput(const QByteArray& data)
{
    m_data = data;
    const auto utf16 =
        data.startsWith("\xff\xfe") || data.startsWith("<\0"_qba)   ? QStringConverter::Utf16LE
        : data.startsWith("\xfe\xff") || data.startsWith("\0<"_qba) ? QStringConverter::Utf16BE
                                                                    : QStringConverter::Utf8;
    if (utf16 != QStringConverter::Utf8) {
        m_data = QStringDecoder(utf16).decode(data).operator QString().toUtf8();
        return;
    }
    const QByteArray declared = declaredEncoding(data);
    if (declared.isEmpty() || declared == "us-ascii" || declared == "ascii")
        return;
    const auto encoding = QStringConverter::encodingForName(declared.constData());
    if (!encoding || *encoding == QStringConverter::System)
        raiseError(tr("text in the encoding %1, which it does not read")
                       .arg(QString::fromLatin1(declared)));
    // A declaration read as ASCII cannot have been written in UTF-16 or UTF-32.
    else if (*encoding == QStringConverter::Latin1)
        m_data = QString::fromLatin1(data).toUtf8();
}

void XmlReader::raiseError(const QString& message)
{
    m_error = message.isEmpty() ? tr("an error") : message;
    m_type = Invalid;
}

XmlReader::TokenType XmlReader::fail(const QString& message)
{
    raiseError(message);
    return Invalid;
}

XmlReader::TokenType XmlReader::ended()
{
    return fail(tr("it ends before its elements close"));
}

qint64 XmlReader::lineNumber() const
{
    return std::count(m_begin, m_at, '\n') + 1;
}

XmlReader::TokenType XmlReader::readNext()
{
    if (m_type == Invalid)
        return Invalid;
    newToken();
    if (m_type == EndDocument)
        return m_type = Invalid;
    if (m_type == NoToken)
        return m_type = readDeclaration();
    if (m_closePending) {
        m_closePending = false;
        return m_type = closeElement(m_open.back());
    }
    for (;;) {
        if (m_at >= m_end)
            return m_open.empty() && m_rootSeen ? m_type = EndDocument : ended();
        if (*m_at == '<')
            return m_type = readMarkup();
        if (!m_open.empty())
            return m_type = readText();
        // White space around the root is no part of the document.
        while (m_at < m_end && isSpace(*m_at))
            ++m_at;
        if (m_at < m_end && *m_at != '<')
            return fail(tr("text outside the root element"));
    }
}

bool XmlReader::readNextStartElement()
{
    for (;;) {
        switch (readNext()) {
        case StartElement:
            return true;
        case EndElement:
        case EndDocument:
        case Invalid:
            return false;
        default:
            break;
        }
    }
}

void XmlReader::skipCurrentElement()
{
    for (qsizetype depth = 1; depth > 0;) {
        switch (readNext()) {
        case StartElement:
            ++depth;
            break;
        case EndElement:
            --depth;
            break;
        case EndDocument:
        case Invalid:
            return;
        default:
            break;
        }
    }
}

// Walks children as deep as they go without recursing, so no file can exhaust the stack.
QString XmlReader::readElementText(ReadElementTextBehaviour behaviour)
{
    QString result;
    readElementText(result, behaviour);
    return result;
}

void XmlReader::readElementText(QString& result, ReadElementTextBehaviour behaviour)
{
    if (m_type != StartElement)
        return;
    for (qsizetype depth = 0;;) {
        switch (readNext()) {
        case Characters:
            if (depth == 0 || behaviour == IncludeChildElements)
                result += m_textView;
            break;
        case EndElement:
            if (depth-- == 0)
                return;
            break;
        case StartElement:
            if (behaviour == ErrorOnUnexpectedElement) {
                raiseError(tr("an element where only text may be"));
                return;
            }
            ++depth;
            break;
        case Comment:
        case ProcessingInstruction:
            break;
        default:
            return;
        }
    }
}

QByteArrayView XmlReader::elementBytes(qsizetype limit) const
{
    if (m_type != StartElement || !scopeAsAtRoot())
        return {};
    const char* end =
        m_closePending ? m_at : findEnd(m_at + std::min(limit, qsizetype(m_end - m_at)));
    return end && end - m_tagStart <= limit ? QByteArrayView(m_tagStart, end) : QByteArrayView();
}

bool XmlReader::readWhole(QByteArrayView bytes) const
{
    return m_type == EndElement && !bytes.isEmpty() && m_at == bytes.data() + bytes.size();
}

void XmlReader::skipElement(QByteArrayView bytes)
{
    if (m_type != StartElement || bytes.data() != m_tagStart)
        return skipCurrentElement();
    newToken();
    m_at = bytes.data() + bytes.size();
    m_closePending = false;
    m_type = closeElement(m_open.back());
}

// Bytes mean the same wherever the namespaces declared between the root and them are the same:
// none.
bool XmlReader::scopeAsAtRoot() const
{
    if (!m_namespaces)
        return true;
    const qsizetype element = qsizetype(m_open.size());
    for (auto each = m_declarations.rbegin(); each != m_declarations.rend(); ++each)
        if (each->depth < element)
            return each->depth <= 1;
    return true;
}

// The end of the element started, found by the end tag of its name that closes it, skipping
// comments, sections and instructions whole and counting start tags of the same name; null when
// not found before limit. Bytes it finds wrongly never read whole as the element.
const char* XmlReader::findEnd(const char* limit) const
{
    const QByteArrayView name(m_begin + m_open.back().at, m_open.back().size);
    const auto search = [limit](const char* from, std::string_view text) -> const char* {
        const std::string_view data(from, size_t(limit - from));
        const size_t found = data.find(text);
        return found == std::string_view::npos ? nullptr : from + found + text.size();
    };
    qsizetype depth = 1;
    for (const char* at = m_at; at < limit;) {
        const void* found = std::memchr(at, '<', size_t(limit - at));
        if (!found || limit - static_cast<const char*>(found) < 2)
            return nullptr;
        at = static_cast<const char*>(found) + 1;
        if (*at == '?' || *at == '!') {
            const std::string_view special(at, size_t(std::min<qsizetype>(limit - at, 8)));
            at = *at == '?'                        ? search(at + 1, "?>")
                 : special.starts_with("!--")      ? search(at + 3, "-->")
                 : special.starts_with("![CDATA[") ? search(at, "]]>")
                                                   : nullptr;
            if (!at)
                return nullptr;
            continue;
        }
        const bool closing = *at == '/';
        const char* start = at + (closing ? 1 : 0);
        at = start;
        while (at < limit && !endsName(*at))
            ++at;
        const bool named = QByteArrayView(start, at) == name;
        // A ">" in a value may end the tag early here: those bytes are then read each time.
        at = static_cast<const char*>(std::memchr(at, '>', size_t(limit - at)));
        if (!at)
            return nullptr;
        if (named && closing && --depth == 0)
            return at + 1;
        if (named && !closing && at[-1] != '/')
            ++depth;
        ++at;
    }
    return nullptr;
}

// Each token writes its text afresh; a copy of the attributes keeps the last token's.
void XmlReader::newToken()
{
    if (!m_attributes.m_text.isNull()) {
        m_attributes.m_text = QString();
        m_attributes.m_list.clear();
    }
    if (!m_text.isDetached())
        m_text = QString();
    m_used = 0;
    m_name = m_prefix = m_namespaceUri = m_textView = {};
}

const char* XmlReader::find(char c) const
{
    const void* found = std::memchr(m_at, c, size_t(m_end - m_at));
    return found ? static_cast<const char*>(found) : m_end;
}

const char* XmlReader::find(const char* text) const
{
    const std::string_view data(m_at, size_t(m_end - m_at));
    const size_t found = data.find(text);
    return found == std::string_view::npos ? nullptr : m_at + found;
}

bool XmlReader::startsWith(const char* text) const
{
    const size_t size = std::strlen(text);
    return size_t(m_end - m_at) >= size && std::memcmp(m_at, text, size) == 0;
}

XmlReader::TokenType XmlReader::readDeclaration()
{
    if (!startsWith("<?xml") || m_end - m_at < 6 || !isSpace(m_at[5]))
        return StartDocument;
    const char* end = find("?>");
    if (!end)
        return ended();
    m_at = end + 2;
    return StartDocument;
}

XmlReader::TokenType XmlReader::readMarkup()
{
    if (m_end - m_at < 2)
        return ended();
    switch (m_at[1]) {
    case '/':
        return readEndTag();
    case '?':
        return readInstruction();
    case '!':
        return readSpecial();
    default:
        return readStartTag();
    }
}

XmlReader::TokenType XmlReader::readInstruction()
{
    // The instruction's end comes after its "<?": "<?>" ends nothing.
    const std::string_view rest(m_at + 2, size_t(m_end - m_at - 2));
    const size_t close = rest.find("?>");
    if (close == std::string_view::npos)
        return ended();
    const std::string_view target = rest.substr(0, close);
    const size_t nameEnd = std::min(target.size(), target.find_first_of(" \t\r\n"));
    if (nameEnd == 3 && QByteArrayView(target.data(), 3).compare("xml", Qt::CaseInsensitive) == 0)
        return fail(tr("an XML declaration where none may be"));
    m_at = rest.data() + close + 2;
    return ProcessingInstruction;
}

XmlReader::TokenType XmlReader::readSpecial()
{
    if (startsWith("<!--")) {
        m_at += 4;
        const char* end = find("-->");
        if (!end)
            return ended();
        m_at = end + 3;
        return Comment;
    }
    if (startsWith("<![CDATA[")) {
        if (m_open.empty())
            return fail(tr("text outside the root element"));
        m_at += 9;
        const char* end = find("]]>");
        if (!end)
            return ended();
        const Span text = decode(m_at, end);
        normalizeLines(text);
        m_textView = view({text.at, m_used - text.at});
        m_at = end + 3;
        return Characters;
    }
    // Declared entities are how XML bombs expand: a part that declares any is not read.
    if (startsWith("<!DOCTYPE"))
        return fail(tr("a document type declaration"));
    return fail(tr("markup it does not know"));
}

XmlReader::TokenType XmlReader::readStartTag()
{
    if (m_rootSeen && m_open.empty())
        return fail(tr("a second root element"));
    const char* at = m_at + 1;
    const Span name = readName(at);
    if (name.size == 0)
        return fail(tr("a tag without a name"));
    m_tagStart = m_at;
    m_raw.clear();
    for (;;) {
        const char* before = at;
        while (at < m_end && isSpace(*at))
            ++at;
        if (at >= m_end)
            return ended();
        if (*at == '>' || *at == '/')
            break;
        if (at == before)
            return fail(tr("a malformed tag"));
        RawAttribute attribute;
        if (!readAttribute(at, attribute))
            return Invalid;
        m_raw.push_back(attribute);
    }
    if (*at == '/') {
        if (at + 1 >= m_end)
            return ended();
        if (at[1] != '>')
            return fail(tr("a malformed tag"));
        m_closePending = true;
        ++at;
    }
    m_at = at + 1;
    m_rootSeen = true;
    m_open.push_back(name);
    return startElement(name) ? StartElement : Invalid;
}

XmlReader::Span XmlReader::readName(const char*& at) const
{
    const char* start = at;
    while (at < m_end && !endsName(*at))
        ++at;
    return {start - m_begin, at - start};
}

bool XmlReader::readAttribute(const char*& at, RawAttribute& attribute)
{
    attribute.name = readName(at);
    while (at < m_end && isSpace(*at))
        ++at;
    if (attribute.name.size == 0 || at >= m_end || *at != '=') {
        raiseError(at >= m_end ? tr("it ends before its elements close") : tr("a malformed tag"));
        return false;
    }
    ++at;
    while (at < m_end && isSpace(*at))
        ++at;
    if (at >= m_end || (*at != '"' && *at != '\'')) {
        raiseError(at >= m_end ? tr("it ends before its elements close") : tr("a malformed tag"));
        return false;
    }
    const void* close = std::memchr(at + 1, *at, size_t(m_end - at - 1));
    if (!close) {
        raiseError(tr("it ends before its elements close"));
        return false;
    }
    const char* end = static_cast<const char*>(close);
    attribute.value = {at + 1 - m_begin, end - at - 1};
    if (std::memchr(at + 1, '<', size_t(end - at - 1))) {
        raiseError(tr("a \"<\" in an attribute's value"));
        return false;
    }
    at = end + 1;
    return true;
}

// Names and values are decoded first, then namespaces declared, then prefixes resolved, as a
// tag may use a prefix it declares after.
bool XmlReader::startElement(Span name)
{
    const Span element = decode(m_begin + name.at, m_begin + name.at + name.size);
    for (RawAttribute& raw : m_raw) {
        raw.qualified = decode(m_begin + raw.name.at, m_begin + raw.name.at + raw.name.size);
        const qsizetype start = m_used;
        if (!appendValue(m_begin + raw.value.at, m_begin + raw.value.at + raw.value.size, true))
            return false;
        raw.text = {start, m_used - start};
    }
    if (!m_raw.empty())
        m_attributes.m_text = m_text;
    for (RawAttribute& raw : m_raw) {
        const QStringView qualified = view(raw.qualified);
        raw.declares = m_namespaces && (qualified == u"xmlns" || qualified.startsWith(u"xmlns:"));
        if (raw.declares)
            declare(qualified.sliced(std::min<qsizetype>(6, qualified.size())), view(raw.text));
    }
    if (!setName(element, true))
        return false;
    for (const RawAttribute& raw : m_raw) {
        if (raw.declares)
            continue;
        XmlAttribute attribute;
        attribute.m_qualifiedName = view(raw.qualified);
        attribute.m_value = view(raw.text);
        const qsizetype colon = colonIn(attribute.m_qualifiedName);
        attribute.m_name = attribute.m_qualifiedName.sliced(colon + 1);
        attribute.m_prefix = attribute.m_qualifiedName.first(std::max<qsizetype>(colon, 0));
        if (m_namespaces && colon >= 0) {
            const QString* uri = resolve(attribute.m_prefix);
            if (!uri) {
                raiseError(tr("a prefix no namespace was declared for"));
                return false;
            }
            attribute.m_namespaceUri = *uri;
        }
        m_attributes.m_list.append(attribute);
    }
    return true;
}

void XmlReader::declare(QStringView prefix, QStringView uri)
{
    const QString* kept = &*m_uris.insert(uri.toString()).first;
    m_declarations.push_back({prefix.toString(), kept, qsizetype(m_open.size())});
}

const QString* XmlReader::resolve(QStringView prefix) const
{
    if (prefix == u"xml")
        return &s_xmlNamespace;
    for (auto each = m_declarations.rbegin(); each != m_declarations.rend(); ++each)
        if (each->prefix == prefix)
            return each->uri->isEmpty() && !prefix.isEmpty() ? nullptr : each->uri;
    return nullptr;
}

// Sets the name of the element started or ended; element is its qualified name, decoded.
bool XmlReader::setName(Span element, bool starting)
{
    const QStringView qualified = view(element);
    const qsizetype colon = colonIn(qualified);
    m_name = qualified.sliced(colon + 1);
    m_prefix = qualified.first(std::max<qsizetype>(colon, 0));
    if (!m_namespaces)
        return true;
    const QString* uri = resolve(m_prefix);
    if (!uri && colon >= 0) {
        if (starting)
            raiseError(tr("a prefix no namespace was declared for"));
        return !starting;
    }
    m_namespaceUri = uri ? QStringView(*uri) : QStringView();
    return true;
}

XmlReader::TokenType XmlReader::readEndTag()
{
    const char* at = m_at + 2;
    const Span name = readName(at);
    while (at < m_end && isSpace(*at))
        ++at;
    if (at >= m_end)
        return ended();
    if (*at != '>' || m_open.empty())
        return fail(tr("an end tag with no start tag"));
    const Span open = m_open.back();
    if (open.size != name.size ||
        std::memcmp(m_begin + open.at, m_begin + name.at, size_t(name.size)) != 0)
        return fail(tr("an end tag that does not match its start tag"));
    m_at = at + 1;
    return closeElement(open);
}

XmlReader::TokenType XmlReader::closeElement(Span name)
{
    setName(decode(m_begin + name.at, m_begin + name.at + name.size), false);
    while (!m_declarations.empty() && m_declarations.back().depth >= qsizetype(m_open.size()))
        m_declarations.pop_back();
    m_open.pop_back();
    return EndElement;
}

XmlReader::TokenType XmlReader::readText()
{
    const char* end = find('<');
    const qsizetype start = m_used;
    if (!appendValue(m_at, end, false))
        return Invalid;
    m_textView = view({start, m_used - start});
    m_at = end;
    return Characters;
}

QChar* XmlReader::room(qsizetype size)
{
    if (m_used + size > m_text.size() || !m_text.isDetached()) {
        QString grown(std::max(m_used + size, m_text.size() * 2 + 64), Qt::Uninitialized);
        std::copy_n(m_text.constData(), m_used, grown.data());
        m_text.swap(grown);
    }
    return m_text.data() + m_used;
}

// UTF-8 never takes fewer units in UTF-16 than in bytes.
XmlReader::Span XmlReader::decode(const char* from, const char* to)
{
    QChar* out = room(to - from);
    const qsizetype start = m_used;
    if (to - from > 16) {
        out = m_decoder.appendToBuffer(out, QByteArrayView(from, to - from));
    } else {
        while (from < to && uchar(*from) < 0x80)
            *out++ = QLatin1Char(*from++);
        if (from < to)
            out = m_decoder.appendToBuffer(out, QByteArrayView(from, to - from));
    }
    m_used = out - m_text.constData();
    return {start, m_used - start};
}

// Text with its references replaced and its line ends made "\n"; in an attribute's value,
// each white space character read as it stands is a space.
bool XmlReader::appendValue(const char* from, const char* to, bool attribute)
{
    while (from < to) {
        const void* found = std::memchr(from, '&', size_t(to - from));
        const char* ampersand = found ? static_cast<const char*>(found) : to;
        const Span text = decode(from, ampersand);
        if (attribute &&
            std::any_of(from, ampersand, [](char c) { return c != ' ' && isSpace(c); }))
            normalizeSpaces(text);
        else if (!attribute && std::memchr(from, '\r', size_t(ampersand - from)))
            normalizeLines(text);
        from = ampersand;
        if (from < to && !appendReference(from, to))
            return false;
    }
    return true;
}

void XmlReader::normalizeLines(Span text)
{
    QChar* chars = m_text.data() + text.at;
    qsizetype kept = 0;
    for (qsizetype at = 0; at < text.size; ++at) {
        const bool pair = chars[at] == u'\r' && at + 1 < text.size && chars[at + 1] == u'\n';
        chars[kept++] = chars[at] == u'\r' ? QChar(u'\n') : chars[at];
        at += pair ? 1 : 0;
    }
    m_used = text.at + kept;
}

void XmlReader::normalizeSpaces(Span text)
{
    normalizeLines(text);
    QChar* chars = m_text.data() + text.at;
    for (qsizetype at = 0; at < m_used - text.at; ++at)
        if (chars[at] == u'\n' || chars[at] == u'\t')
            chars[at] = u' ';
}

bool XmlReader::appendReference(const char*& at, const char* end)
{
    // No reference XML knows without a document type is longer.
    const qsizetype longest = 12;
    const void* found = std::memchr(at, ';', size_t(std::min<qsizetype>(end - at, longest)));
    if (!found) {
        raiseError(tr("an \"&\" that starts no reference"));
        return false;
    }
    const char* semicolon = static_cast<const char*>(found);
    const QByteArrayView name(at + 1, semicolon - at - 1);
    at = semicolon + 1;
    static constexpr std::pair<const char*, char16_t> predefined[] = {
        {"lt", u'<'}, {"gt", u'>'}, {"amp", u'&'}, {"apos", u'\''}, {"quot", u'"'}};
    for (const auto& [entity, character] : predefined) {
        if (name == entity) {
            *room(1) = character;
            ++m_used;
            return true;
        }
    }
    const bool hex = name.startsWith("#x");
    bool ok = name.startsWith('#') && name.size() > (hex ? 2 : 1);
    const uint code = ok ? name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10) : 0;
    if (!ok || !isXmlCharacter(code) || name.contains('+') || name.contains('-')) {
        raiseError(ok ? tr("a reference to a character XML does not hold")
                      : tr("a reference to an entity no document type declares"));
        return false;
    }
    QChar* out = room(2);
    if (QChar::requiresSurrogates(code)) {
        out[0] = QChar(QChar::highSurrogate(code));
        out[1] = QChar(QChar::lowSurrogate(code));
        m_used += 2;
    } else {
        out[0] = QChar(char16_t(code));
        ++m_used;
    }
    return true;
}

QStringView XmlReader::view(Span span) const
{
    return QStringView(m_text.constData() + span.at, span.size);
}
