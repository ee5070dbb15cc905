#include "formats/rtf/CodePageConverter.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

const iconv_t s_invalidHandle = reinterpret_cast<iconv_t>(-1);
const size_t s_iconvError = static_cast<size_t>(-1);
constexpr char16_t s_replacement = QChar::ReplacementCharacter;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
const char* const s_utf16 = "UTF-16LE";
#else
const char* const s_utf16 = "UTF-16BE";
#endif

enum class Outcome { Character, Incomplete, Undefined };

// Decodes exactly the given bytes from a fresh state. glibc's converters for 1255 and 1258 hold
// a base letter back in case a combining mark follows, so the state is flushed to get it out.
Outcome decodeAlone(iconv_t handle, const char* bytes, size_t size, char16_t* character)
{
    char input[2];
    std::memcpy(input, bytes, size);
    char16_t output[2] = {};
    char* in = input;
    char* out = reinterpret_cast<char*>(output);
    size_t inLeft = size;
    size_t outLeft = sizeof(output);
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    const size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    if (result != s_iconvError)
        iconv(handle, nullptr, nullptr, &out, &outLeft);
    if (result == s_iconvError)
        return error == EINVAL ? Outcome::Incomplete : Outcome::Undefined;
    // One UTF-16 unit exactly; anything longer is not one character of a table.
    if (inLeft != 0 || outLeft != sizeof(char16_t))
        return Outcome::Undefined;
    *character = output[0];
    return Outcome::Character;
}

} // namespace

CodePageConverter::CodePageConverter(const char* iconvName)
{
    m_singles.fill(s_replacement);
    for (int byte = 0; byte < 0x80; ++byte)
        m_singles[size_t(byte)] = char16_t(byte);
    if (std::strcmp(iconvName, "UTF-8") == 0) {
        m_utf8 = true;
        return;
    }
    const iconv_t handle = iconv_open(s_utf16, iconvName);
    m_valid = handle != s_invalidHandle;
    if (!m_valid)
        return;
    // Some pages, such as 864, move characters below 0x80 too.
    for (int byte = 0; byte <= 0xff; ++byte) {
        const char input = char(byte);
        char16_t character = 0;
        const Outcome outcome = decodeAlone(handle, &input, 1, &character);
        if (outcome == Outcome::Character)
            m_singles[size_t(byte)] = character;
        m_isLead[size_t(byte)] = outcome == Outcome::Incomplete;
        m_doubleByte |= outcome == Outcome::Incomplete;
    }
    if (m_doubleByte) {
        m_pairs.assign(size_t(1) << 16, 0);
        for (int lead = 0x80; lead <= 0xff; ++lead) {
            if (!m_isLead[size_t(lead)])
                continue;
            for (int trail = 0; trail <= 0xff; ++trail) {
                const char input[2] = {char(lead), char(trail)};
                char16_t character = 0;
                if (decodeAlone(handle, input, 2, &character) == Outcome::Character) {
                    m_pairs[size_t(lead << 8 | trail)] = character;
                    m_isTrail[size_t(trail)] = true;
                }
            }
        }
    }
    iconv_close(handle);
}

CodePageConverter::CodePageConverter(const BuiltInCodePages::Table& table) : m_singles(table) {}

void CodePageConverter::decode(QByteArrayView bytes, QString& out) const
{
    if (m_utf8) {
        out.append(QString::fromUtf8(bytes));
        return;
    }
    if (m_doubleByte) {
        decodeDoubleByte(bytes, out);
        return;
    }
    if (m_wide) {
        decodeWide(bytes, out);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* target = reinterpret_cast<char16_t*>(out.data()) + start;
    for (const char byte : bytes)
        *target++ = m_singles[static_cast<unsigned char>(byte)];
}

void CodePageConverter::decodeDoubleByte(QByteArrayView bytes, QString& out) const
{
    // Never more characters than bytes: a pair gives one, and so does every byte alone.
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data()) + start;
    char16_t* target = begin;
    const auto* byte = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = byte + bytes.size();
    while (byte < end) {
        const unsigned char lead = *byte++;
        if (!m_isLead[lead]) {
            *target++ = m_singles[lead];
        } else if (byte < end && m_isTrail[*byte]) {
            // A pair the page leaves undefined is still a pair: it never takes the next byte.
            const char16_t character = m_pairs[size_t(lead << 8 | *byte++)];
            *target++ = character != 0 ? character : s_replacement;
        } else {
            *target++ = s_replacement;
        }
    }
    out.resize(start + (target - begin));
}

void CodePageConverter::decodeWide(QByteArrayView bytes, QString& out) const
{
    for (const char byte : bytes) {
        const char32_t sign = (*m_wide)[static_cast<unsigned char>(byte)];
        if (QChar::requiresSurrogates(sign)) {
            out.append(QChar(QChar::highSurrogate(sign)));
            out.append(QChar(QChar::lowSurrogate(sign)));
        } else {
            out.append(QChar(char16_t(sign)));
        }
    }
}
