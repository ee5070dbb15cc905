#include "formats/rtf/RtfStyleSheet.h"

#include <utility>

bool RtfStyleSheet::handleWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    if (keyword == RtfKeywordTable::Keyword::Style) {
        m_number = parameter;
        m_characterStyle = false;
    } else if (keyword == RtfKeywordTable::Keyword::BasedOn)
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

void RtfStyleSheet::startCharacterStyle(int number)
{
    m_number = number;
    m_characterStyle = true;
    m_name.clear();
}

// Other character styles leave their formatting to the words written with the text.
void RtfStyleSheet::handleCharacterStyleText(std::string_view text)
{
    const size_t end = text.find(';');
    m_name.append(text.substr(0, end));
    if (end == std::string_view::npos)
        return;
    if (m_name == seedStyleName)
        m_seedStyle = m_number;
    m_characterStyle = false;
}

std::optional<RtfCharState> RtfStyleSheet::style(int number) const
{
    const auto found = m_styles.constFind(number);
    return found != m_styles.constEnd() ? std::optional(found.value()) : std::nullopt;
}
