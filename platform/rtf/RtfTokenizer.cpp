#include "platform/rtf/RtfTokenizer.h"

#include "platform/rtf/RtfCharacterPolicy.h"

#include <array>
#include <climits>

namespace {

enum class ByteClass : unsigned char { Text, Special, Ignored };

// CR, LF and other C0 bytes carry no meaning in RTF; a literal tab is kept as text.
constexpr std::array<ByteClass, 256> makeByteClasses()
{
    std::array<ByteClass, 256> classes{};
    for (int byte = 0; byte < 0x20; ++byte)
        classes[byte] = ByteClass::Ignored;
    classes['\t'] = ByteClass::Text;
    classes['\\'] = ByteClass::Special;
    classes['{'] = ByteClass::Special;
    classes['}'] = ByteClass::Special;
    return classes;
}

constexpr std::array<ByteClass, 256> s_byteClasses = makeByteClasses();

ByteClass classOf(char byte)
{
    return s_byteClasses[static_cast<unsigned char>(byte)];
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

RtfToken simpleToken(RtfToken::Type type)
{
    RtfToken token;
    token.type = type;
    return token;
}

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView data)
    : m_begin(data.data()), m_pos(data.data()), m_end(data.data() + data.size())
{
}

RtfToken RtfTokenizer::next()
{
    while (m_pos < m_end) {
        const char c = *m_pos;
        switch (classOf(c)) {
        case ByteClass::Ignored:
            ++m_pos;
            continue;
        case ByteClass::Text:
            return readText();
        case ByteClass::Special:
            ++m_pos;
            if (c == '{')
                return simpleToken(RtfToken::Type::GroupStart);
            if (c == '}')
                return simpleToken(RtfToken::Type::GroupEnd);
            if (m_pos < m_end) {
                RtfToken token = readControl();
                if (token.type != RtfToken::Type::End)
                    return token;
            }
            continue;
        }
    }
    return simpleToken(RtfToken::Type::End);
}

std::string_view RtfTokenizer::skipBytes(qint64 count)
{
    const char* start = m_pos;
    if (count > 0)
        m_pos += qMin<qint64>(count, m_end - m_pos);
    return std::string_view(start, static_cast<size_t>(m_pos - start));
}

RtfToken RtfTokenizer::readControl()
{
    const char c = *m_pos;
    if (isLetter(c))
        return readControlWord();
    ++m_pos;
    if (c == '\'')
        return readHexByte();
    RtfToken token = simpleToken(RtfToken::Type::ControlSymbol);
    token.value = static_cast<unsigned char>(c);
    return token;
}

RtfToken RtfTokenizer::readControlWord()
{
    const char* start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    RtfToken token = simpleToken(RtfToken::Type::ControlWord);
    token.bytes = std::string_view(start, static_cast<size_t>(m_pos - start));
    const bool negative = m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1]);
    if (negative || (m_pos < m_end && isDigit(*m_pos))) {
        token.hasParameter = true;
        m_pos += negative ? 1 : 0;
        token.parameter = negative ? -readParameter() : readParameter();
    }
    // Exactly one space delimits a control word; any further space is text.
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;
    return token;
}

int RtfTokenizer::readParameter()
{
    // Saturate rather than overflow: absurd parameters are clamped by their users.
    int value = 0;
    for (; m_pos < m_end && isDigit(*m_pos); ++m_pos) {
        const int digit = *m_pos - '0';
        value = value > (INT_MAX - digit) / 10 ? INT_MAX : value * 10 + digit;
    }
    return value;
}

RtfToken RtfTokenizer::readHexByte()
{
    int value = 0;
    int digits = 0;
    for (; digits < 2 && m_pos < m_end && RtfCharacterPolicy::hexValue(*m_pos) >= 0;
         ++digits, ++m_pos)
        value = value * 16 + RtfCharacterPolicy::hexValue(*m_pos);
    if (digits == 0)
        return simpleToken(RtfToken::Type::End);
    // A malformed escape such as \'3? still stands for one character and spans two, as older
    // readers take it; only syntax characters end it early.
    if (digits == 1 && m_pos < m_end && classOf(*m_pos) == ByteClass::Text)
        ++m_pos;
    RtfToken token = simpleToken(RtfToken::Type::HexByte);
    token.value = static_cast<unsigned char>(value);
    return token;
}

RtfToken RtfTokenizer::readText()
{
    const char* start = m_pos;
    while (m_pos < m_end && classOf(*m_pos) == ByteClass::Text)
        ++m_pos;
    RtfToken token = simpleToken(RtfToken::Type::Text);
    token.bytes = std::string_view(start, static_cast<size_t>(m_pos - start));
    return token;
}
