#include "formats/base/XmlWriter.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The longest a code unit becomes: "&quot;".
constexpr qsizetype s_widest = 6;

// Markup goes out a few dozen bytes at a time, millions of times in a long part: handed to
// memcpy one by one, those bytes took a sixth of a long DOCX write. Copied here in overlapping
// words, they take a few instructions each.
void copyMarkup(char* to, const char* from, qsizetype size)
{
    if (size > 256) {
        std::memcpy(to, from, size_t(size));
    } else if (size >= 16) {
        for (qsizetype at = 0; at + 16 < size; at += 16)
            std::memcpy(to + at, from + at, 16);
        std::memcpy(to + size - 16, from + size - 16, 16);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

char* copy(char* at, const char* text)
{
    const size_t size = std::strlen(text);
    std::memcpy(at, text, size);
    return at + size;
}

// An ASCII character, escaped where it must be and left out where XML cannot hold it; gives
// where the next goes.
char* escape(char* at, char16_t c, bool attribute)
{
    switch (c) {
    case u'&':
        return copy(at, "&amp;");
    case u'<':
        return copy(at, "&lt;");
    case u'>':
        return copy(at, "&gt;");
    case u'"':
        return attribute ? copy(at, "&quot;") : copy(at, "\"");
    case u'\r':
        return copy(at, "&#13;");
    case u'\n':
    case u'\t':
        return attribute ? copy(at, c == u'\n' ? "&#10;" : "&#9;")
                         : copy(at, c == u'\n' ? "\n" : "\t");
    default:
        if (c >= 0x20)
            *at++ = char(c);
        return at;
    }
}

// The ASCII characters that go out as they are, in text and in attributes alike.
constexpr std::array<bool, 0x80> s_plain = [] {
    std::array<bool, 0x80> plain{};
    for (char16_t c = 0x20; c < 0x80; ++c)
        plain[c] = c != u'&' && c != u'<' && c != u'>' && c != u'"';
    return plain;
}();

// Writes units' plain ASCII characters as bytes, eight at a time, up to the first eight that
// hold another; gives how many it wrote.
qsizetype encodePlain(char* at, const char16_t* units, qsizetype size)
{
    qsizetype index = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i last = _mm_set1_epi16(0x7f);
    const __m128i ampersand = _mm_set1_epi16(u'&');
    const __m128i less = _mm_set1_epi16(u'<');
    const __m128i greater = _mm_set1_epi16(u'>');
    const __m128i quote = _mm_set1_epi16(u'"');
    for (; index + 8 <= size; index += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + index));
        // Compared as signed, units from 0x8000 up count as below a space.
        const __m128i outside =
            _mm_or_si128(_mm_cmplt_epi16(eight, space), _mm_cmpgt_epi16(eight, last));
        const __m128i markup = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(eight, ampersand), _mm_cmpeq_epi16(eight, less)),
            _mm_or_si128(_mm_cmpeq_epi16(eight, greater), _mm_cmpeq_epi16(eight, quote)));
        if (_mm_movemask_epi8(_mm_or_si128(outside, markup)) != 0)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(at + index), _mm_packus_epi16(eight, eight));
    }
#else
    Q_UNUSED(at);
    Q_UNUSED(units);
    Q_UNUSED(size);
#endif
    return index;
}

char* encode(char* at, QStringView text, bool attribute)
{
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype index = 0; index < size; ++index) {
        const char16_t c = units[index];
        if (c < 0x80 && s_plain[c]) {
            // Where one plain character is, more mostly follow.
            if (const qsizetype plain = encodePlain(at, units + index, size - index)) {
                at += plain;
                index += plain - 1;
                continue;
            }
            *at++ = char(c);
        } else if (c < 0x80) {
            at = escape(at, c, attribute);
        } else if (c < 0x800) {
            *at++ = char(0xc0 | (c >> 6));
            *at++ = char(0x80 | (c & 0x3f));
        } else if (QChar::isHighSurrogate(c)) {
            if (index + 1 == size || !QChar::isLowSurrogate(units[index + 1]))
                continue;
            const char32_t code = QChar::surrogateToUcs4(c, units[++index]);
            *at++ = char(0xf0 | (code >> 18));
            *at++ = char(0x80 | ((code >> 12) & 0x3f));
            *at++ = char(0x80 | ((code >> 6) & 0x3f));
            *at++ = char(0x80 | (code & 0x3f));
        } else if (!QChar::isLowSurrogate(c) && c != 0xfffe && c != 0xffff) {
            *at++ = char(0xe0 | (c >> 12));
            *at++ = char(0x80 | ((c >> 6) & 0x3f));
            *at++ = char(0x80 | (c & 0x3f));
        }
    }
    return at;
}

char* encode(char* at, QLatin1StringView text, bool attribute)
{
    for (const char byte : text) {
        const auto c = char16_t(uchar(byte));
        if (c > u'>' && c < 0x80) {
            *at++ = byte;
        } else if (c < 0x80) {
            at = escape(at, c, attribute);
        } else {
            *at++ = char(0xc0 | (c >> 6));
            *at++ = char(0x80 | (c & 0x3f));
        }
    }
    return at;
}

char* encode(char* at, QUtf8StringView text, bool attribute)
{
    for (const char byte : text) {
        if (uchar(byte) > '>')
            *at++ = byte;
        else
            at = escape(at, char16_t(byte), attribute);
    }
    return at;
}

} // namespace

QByteArray XmlWriter::take()
{
    const qsizetype used = std::exchange(m_used, 0);
    // Markup is often made to be kept, such as a format's properties: it is given an array of
    // its own size rather than the room it was written in, which is mostly empty.
    if (used < m_out.size() / 2)
        return QByteArray(m_out.constData(), used);
    m_out.truncate(used);
    return std::exchange(m_out, QByteArray());
}

void XmlWriter::setSink(Sink sink, qsizetype pieceSize)
{
    m_sink = std::move(sink);
    m_pieceSize = pieceSize;
}

// The next piece gets room for the whole of it at once, rather than growing to it.
void XmlWriter::handOff()
{
    QByteArray piece = std::exchange(m_out, QByteArray());
    piece.truncate(m_used);
    m_used = 0;
    m_out = m_sink(std::move(piece));
    m_out.resize(m_pieceSize * 2);
}

void XmlWriter::writeStartDocument(bool standalone)
{
    put(standalone ? "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                   : "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
}

void XmlWriter::writeStartElement(QAnyStringView name)
{
    closeStartTag();
    if (m_used >= m_pieceSize)
        handOff();
    put("<");
    const qsizetype at = m_used;
    append(name, false);
    m_starts.push_back(m_names.size());
    m_names.append(QByteArrayView(m_out.constData() + at, m_used - at));
    m_tagOpen = true;
}

void XmlWriter::writeEmptyElement(QAnyStringView name)
{
    closeStartTag();
    put("<");
    append(name, false);
    m_tagOpen = true;
    m_tagEmpty = true;
}

void XmlWriter::writeAttribute(QAnyStringView name, QAnyStringView value)
{
    put(" ");
    append(name, false);
    put("=\"");
    append(value, true);
    put("\"");
}

void XmlWriter::writeCharacters(QAnyStringView text)
{
    closeStartTag();
    append(text, false);
}

void XmlWriter::writeTextElement(QAnyStringView name, QAnyStringView text)
{
    writeStartElement(name);
    writeCharacters(text);
    writeEndElement();
}

void XmlWriter::writeEndElement()
{
    if (m_starts.empty())
        return;
    const qsizetype start = m_starts.back();
    m_starts.pop_back();
    if (m_tagOpen && !m_tagEmpty) {
        put("/>");
        m_tagOpen = false;
    } else {
        closeStartTag();
        put("</");
        put(QByteArrayView(m_names).sliced(start));
        put(">");
    }
    m_names.truncate(start);
}

void XmlWriter::writeEndDocument()
{
    while (!m_starts.empty())
        writeEndElement();
    closeStartTag();
    put("\n");
}

void XmlWriter::writeRaw(QByteArrayView markup)
{
    closeStartTag();
    put(markup);
}

void XmlWriter::closeStartTag()
{
    if (!m_tagOpen)
        return;
    put(m_tagEmpty ? QByteArrayView("/>") : QByteArrayView(">"));
    m_tagOpen = false;
    m_tagEmpty = false;
}

// The array grows by half again at least, so writing stays linear.
char* XmlWriter::reserve(qsizetype size)
{
    if (m_used + size > m_out.size())
        m_out.resize(std::max(m_used + size, m_out.size() + m_out.size() / 2 + 4096));
    return m_out.data() + m_used;
}

void XmlWriter::put(QByteArrayView bytes)
{
    copyMarkup(reserve(bytes.size()), bytes.data(), bytes.size());
    m_used += bytes.size();
}

void XmlWriter::append(QAnyStringView text, bool attribute)
{
    char* const at = reserve(text.size() * s_widest);
    char* const end = text.visit([&](auto view) { return encode(at, view, attribute); });
    m_used += end - at;
}
