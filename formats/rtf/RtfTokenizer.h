#pragma once

#include "formats/rtf/RtfToken.h"

#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <climits>

/// Splits RTF bytes into tokens in one forward pass; every call consumes input, so it cannot loop.
/// The parser asks for a token every few bytes, so the common paths are inline.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView data);

    RtfToken next()
    {
        // The scans run on a local pointer: stores into the token could alias m_pos, which would
        // make the compiler write it back after every byte.
        const char* pos = m_pos;
        while (pos < m_end) {
            switch (classOf(*pos)) {
            case ByteClass::Ignored:
                ++pos;
                continue;
            case ByteClass::Text:
                return readText(pos);
            case ByteClass::GroupStart:
                m_pos = pos + 1;
                return tokenOf(RtfToken::Type::GroupStart);
            case ByteClass::GroupEnd:
                m_pos = pos + 1;
                return tokenOf(RtfToken::Type::GroupEnd);
            case ByteClass::Backslash:
                if (++pos == m_end)
                    break;
                if (isLetter(*pos))
                    return readControlWord(pos);
                m_pos = pos;
                if (RtfToken token = readControlSymbol(); token.type != RtfToken::Type::End)
                    return token;
                pos = m_pos;
                continue;
            }
        }
        m_pos = m_end;
        return {};
    }

    /// Skips up to count bytes of plain text, as the characters standing in for a \\uN, and
    /// returns how many are still to be skipped in the tokens that follow.
    int skipText(int count)
    {
        const char* pos = m_pos;
        for (; count > 0 && pos < m_end; ++pos) {
            const ByteClass byteClass = classOf(*pos);
            if (byteClass == ByteClass::Text)
                --count;
            else if (byteClass != ByteClass::Ignored)
                break;
        }
        m_pos = pos;
        return count;
    }
    /// Skips the raw payload of \binN and returns it; a count past the end stops at the end.
    std::string_view skipBytes(qint64 count);
    /// The bytes read so far, of size() in all.
    qsizetype consumed() const { return m_pos - m_begin; }
    qsizetype size() const { return m_end - m_begin; }

private:
    // CR, LF and other C0 bytes carry no meaning in RTF; a literal tab is kept as text.
    enum class ByteClass : unsigned char { Text, Ignored, Backslash, GroupStart, GroupEnd };

    static constexpr std::array<ByteClass, 256> makeByteClasses()
    {
        std::array<ByteClass, 256> classes{};
        for (int byte = 0; byte < 0x20; ++byte)
            classes[byte] = ByteClass::Ignored;
        classes['\t'] = ByteClass::Text;
        classes['\\'] = ByteClass::Backslash;
        classes['{'] = ByteClass::GroupStart;
        classes['}'] = ByteClass::GroupEnd;
        return classes;
    }

    static ByteClass classOf(char byte)
    {
        static constexpr std::array<ByteClass, 256> s_classes = makeByteClasses();
        return s_classes[static_cast<unsigned char>(byte)];
    }
    static RtfToken tokenOf(RtfToken::Type type)
    {
        RtfToken token;
        token.type = type;
        return token;
    }
    static bool isLetter(char c) { return static_cast<unsigned char>((c | 0x20) - 'a') < 26; }
    static bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

    RtfToken readControlWord(const char* pos)
    {
        const char* start = pos;
        pos = scan(pos, isLetter);
        RtfToken token = tokenOf(RtfToken::Type::ControlWord);
        token.bytes = std::string_view(start, static_cast<size_t>(pos - start));
        if (pos < m_end) {
            const bool negative = *pos == '-' && pos + 1 < m_end && isDigit(pos[1]);
            if (negative || isDigit(*pos)) {
                token.hasParameter = true;
                pos += negative ? 1 : 0;
                const int parameter = readParameter(pos);
                token.parameter = negative ? -parameter : parameter;
            }
            // Exactly one space delimits a control word; any further space is text.
            if (pos < m_end && *pos == ' ')
                ++pos;
        }
        m_pos = pos;
        return token;
    }

    int readParameter(const char*& pos) const
    {
        // Saturate rather than overflow: absurd parameters are clamped by their users.
        const char* start = pos;
        unsigned long long value = 0;
        pos = scan(pos, [&](char c) {
            if (!isDigit(c))
                return false;
            value = value * 10 + static_cast<unsigned char>(c - '0');
            return true;
        });
        return pos - start > 18 || value > INT_MAX ? INT_MAX : static_cast<int>(value);
    }

    RtfToken readText(const char* pos)
    {
        const char* start = pos;
        pos = scan(pos, [](char c) { return classOf(c) == ByteClass::Text; });
        m_pos = pos;
        RtfToken token = tokenOf(RtfToken::Type::Text);
        token.bytes = std::string_view(start, static_cast<size_t>(pos - start));
        return token;
    }

    /// Where the run of bytes that accept takes, from pos, ends.
    template <typename Accept> const char* scan(const char* pos, Accept accept) const
    {
        // Input that ends in a byte no run takes needs no bounds check inside a run.
        if (m_delimited) {
            while (accept(*pos))
                ++pos;
        } else {
            while (pos < m_end && accept(*pos))
                ++pos;
        }
        return pos;
    }

    RtfToken readControlSymbol();
    RtfToken readHexByte();

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    /// Whether the last byte is one that ends every letter, digit and text run, such as '}'.
    bool m_delimited;
};
