#include "formats/rtf/RtfFontTable.h"

#include "formats/rtf/BuiltInCodePages.h"
#include "formats/rtf/CodePageDecoder.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <algorithm>
#include <utility>

void RtfFontTable::handleWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    switch (keyword) {
    case RtfKeywordTable::Keyword::Font:
        commitEntry();
        m_number = parameter;
        m_entry = Entry();
        m_entryOpen = true;
        break;
    case RtfKeywordTable::Keyword::FontCharset:
        m_entry.codePage = CodePageDecoder::codePageForCharset(parameter);
        break;
    case RtfKeywordTable::Keyword::CodePage:
        m_entry.codePage = std::max(parameter, 0);
        break;
    case RtfKeywordTable::Keyword::FontRoman:
        m_entry.hint = QFont::Serif;
        break;
    case RtfKeywordTable::Keyword::FontSwiss:
        m_entry.hint = QFont::SansSerif;
        break;
    case RtfKeywordTable::Keyword::FontModern:
        m_entry.hint = QFont::Monospace;
        break;
    case RtfKeywordTable::Keyword::FontScript:
        m_entry.hint = QFont::Cursive;
        break;
    case RtfKeywordTable::Keyword::FontDecor:
        m_entry.hint = QFont::Fantasy;
        break;
    default:
        break;
    }
}

void RtfFontTable::commitEntry()
{
    if (!m_entryOpen)
        return;
    m_entry.family = RtfCharacterPolicy::fontName(m_entry.family);
    // Symbol fonts' bytes stand for the signs they show; other fonts of the symbol character
    // set, such as OpenSymbol, have layouts no one published.
    const int symbolPage = BuiltInCodePages::forFont(m_entry.family);
    if (symbolPage != 0 && (m_entry.codePage == 0 || m_entry.codePage == BuiltInCodePages::Symbol))
        m_entry.codePage = symbolPage;
    else if (m_entry.codePage == BuiltInCodePages::Symbol)
        m_entry.codePage = 0;
    m_fonts.insert(m_number, std::exchange(m_entry, Entry()));
    m_entryOpen = false;
}

QString RtfFontTable::familyFor(int font) const
{
    // Fonts missing from the table fall back to \deff, then to the document's own default.
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && !found->family.isEmpty())
        return found->family;
    return font == m_defaultFont ? QString() : m_fonts.value(m_defaultFont).family;
}

QFont::StyleHint RtfFontTable::styleHintFor(int font) const
{
    auto found = m_fonts.constFind(font);
    if (found == m_fonts.constEnd() || found->family.isEmpty())
        found = font == m_defaultFont ? m_fonts.constEnd() : m_fonts.constFind(m_defaultFont);
    return found != m_fonts.constEnd() ? found->hint : QFont::AnyStyle;
}

int RtfFontTable::codePageFor(int font) const
{
    // Like its family, a missing font's code page is the \deff font's.
    auto found = m_fonts.constFind(font);
    if (found == m_fonts.constEnd())
        found = m_fonts.constFind(m_defaultFont);
    return found != m_fonts.constEnd() ? found->codePage : 0;
}
