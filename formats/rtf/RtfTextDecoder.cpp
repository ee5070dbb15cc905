#include "formats/rtf/RtfTextDecoder.h"

int RtfTextDecoder::lookUpCodePage(int font)
{
    // \fcharset0 names the ANSI page, which on a Mac is the Mac's own.
    const int codePage = m_fonts.codePageFor(font);
    m_codePageFont = font;
    m_codePage = codePage == 1252 && m_ansiCodePage == 10000 ? 0 : codePage;
    return m_codePage;
}
