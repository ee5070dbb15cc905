#include "formats/rtf/RtfTextDecoder.h"

QStringView RtfTextDecoder::decode(int codePage)
{
    m_decoded.resize(0);
    m_decoder.decode(codePage > 0 ? codePage : m_ansiCodePage,
                     QByteArrayView(m_bytes.data(), qsizetype(m_bytes.size())), m_decoded);
    m_bytes.clear();
    return m_decoded;
}

int RtfTextDecoder::lookUpCodePage(int font)
{
    // \fcharset0 names the ANSI page, which on a Mac is the Mac's own.
    const int codePage = m_fonts.codePageFor(font);
    m_codePageFont = font;
    m_codePage = codePage == 1252 && m_ansiCodePage == 10000 ? 0 : codePage;
    return m_codePage;
}
