#include "formats/rtf/RtfStyleSheet.h"

#include <utility>

bool RtfStyleSheet::handleWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    if (keyword == RtfKeywordTable::Keyword::Style)
        m_number = parameter;
    else if (keyword == RtfKeywordTable::Keyword::BasedOn)
        m_base = parameter;
    else
        return false;
    return true;
}

void RtfStyleSheet::commitStyle(RtfCharState chars)
{
    // A style takes the font and size it does not set from the style it is based on.
    if (const auto base = m_styles.constFind(std::exchange(m_base, -1));
        base != m_styles.constEnd()) {
        chars.font = chars.font == RtfCharState::DefaultFont ? base->font : chars.font;
        chars.halfPoints = chars.halfPoints == 0 ? base->halfPoints : chars.halfPoints;
    }
    m_styles.insert(m_number, chars);
}

std::optional<RtfCharState> RtfStyleSheet::style(int number) const
{
    const auto found = m_styles.constFind(number);
    return found != m_styles.constEnd() ? std::optional(found.value()) : std::nullopt;
}
