#include "formats/rtf/RtfTokenizer.h"

#include "formats/rtf/RtfCharacterPolicy.h"

RtfTokenizer::RtfTokenizer(QByteArrayView data)
    : m_begin(data.data()), m_pos(data.data()), m_end(data.data() + data.size()),
      m_delimited(!data.isEmpty() && classOf(data.back()) != ByteClass::Text)
{
}

std::string_view RtfTokenizer::skipBytes(qint64 count)
{
    const char* start = m_pos;
    if (count > 0)
        m_pos += qMin<qint64>(count, m_end - m_pos);
    return std::string_view(start, static_cast<size_t>(m_pos - start));
}

RtfToken RtfTokenizer::readControlSymbol()
{
    const char c = *m_pos++;
    if (c == '\'')
        return readHexByte();
    RtfToken token = tokenOf(RtfToken::Type::ControlSymbol);
    token.value = static_cast<unsigned char>(c);
    return token;
}

RtfToken RtfTokenizer::readHexByte()
{
    int value = 0;
    int digits = 0;
    for (; digits < 2 && m_pos < m_end && RtfCharacterPolicy::hexValue(*m_pos) >= 0;
         ++digits, ++m_pos)
        value = value * 16 + RtfCharacterPolicy::hexValue(*m_pos);
    if (digits < 2) {
        // A malformed escape such as \'3? or \'zz still spans two characters, as older readers
        // and LibreOffice take it; only syntax characters end it early. Without a digit it
        // stands for no character, yet still for the one a \uN's fallback skips.
        for (int spanned = digits;
             spanned < 2 && m_pos < m_end && classOf(*m_pos) == ByteClass::Text; ++spanned)
            ++m_pos;
        if (digits == 0) {
            RtfToken token = tokenOf(RtfToken::Type::ControlSymbol);
            token.value = '\'';
            return token;
        }
    }
    RtfToken token = tokenOf(RtfToken::Type::HexByte);
    token.value = static_cast<unsigned char>(value);
    return token;
}
