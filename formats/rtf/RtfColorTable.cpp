#include "formats/rtf/RtfColorTable.h"

#include <algorithm>
#include <iterator>
#include <utility>

void RtfColorTable::handleWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    const int component = std::clamp(parameter, 0, 255);
    switch (keyword) {
    case RtfKeywordTable::Keyword::Red:
        m_rgb[0] = component;
        break;
    case RtfKeywordTable::Keyword::Green:
        m_rgb[1] = component;
        break;
    case RtfKeywordTable::Keyword::Blue:
        m_rgb[2] = component;
        break;
    default:
        return;
    }
    m_componentSet = true;
}

void RtfColorTable::handleText(std::string_view text)
{
    for (const char c : text) {
        if (c == ';')
            commitColor();
    }
}

std::optional<QColor> RtfColorTable::color(int index) const
{
    if (index <= 0 || std::cmp_greater_equal(index, m_colors.size()))
        return std::nullopt;
    return m_colors[size_t(index)];
}

void RtfColorTable::commitColor()
{
    m_colors.push_back(m_componentSet ? std::optional(QColor(m_rgb[0], m_rgb[1], m_rgb[2]))
                                      : std::nullopt);
    m_componentSet = false;
    std::fill(std::begin(m_rgb), std::end(m_rgb), 0);
}
