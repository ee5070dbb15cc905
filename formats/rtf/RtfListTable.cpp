#include "formats/rtf/RtfListTable.h"

#include "formats/rtf/RtfCharacterPolicy.h"

#include <algorithm>
#include <utility>

namespace {

// Word's lists have nine levels; a number text is one length character and at most 255 more.
constexpr size_t s_maxLevels = 9;
constexpr qsizetype s_maxLevelText = 256;

// Word's \levelnfc numbers for the list styles a document can hold.
QTextListFormat::Style listStyleForLevelFormat(int format)
{
    switch (format) {
    case 0:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDisc;
    }
}

// A number text is its length as a character, then text in which characters 0 to 8 stand for
// the numbers of those levels: what comes before the first number and after the last is the
// level's prefix and suffix.
void takeNumberText(RtfListLevel& level)
{
    const QString text = level.levelText;
    level.levelText.clear();
    if (text.isEmpty() || RtfCharacterPolicy::isBullet(level.style))
        return;
    const QStringView numbers =
        QStringView(text).sliced(1, std::min<qsizetype>(text.size() - 1, text.at(0).unicode()));
    const auto isNumber = [](QChar c) { return c.unicode() < s_maxLevels; };
    const qsizetype first =
        std::find_if(numbers.begin(), numbers.end(), isNumber) - numbers.begin();
    if (first == numbers.size())
        return;
    const qsizetype last =
        numbers.size() - 1 -
        (std::find_if(numbers.rbegin(), numbers.rend(), isNumber) - numbers.rbegin());
    // Empty but given: a number with nothing after it has no suffix, not the default one.
    level.prefix = QStringLiteral("");
    level.prefix.append(numbers.first(first));
    level.suffix = QStringLiteral("");
    level.suffix.append(numbers.sliced(last + 1));
    if (first != last)
        level.levelText = text.first(numbers.size() + 1);
}

} // namespace

void RtfListTable::handleListWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    using Keyword = RtfKeywordTable::Keyword;
    if (keyword == Keyword::ListEntry) {
        commitList();
    } else if (keyword == Keyword::ListId) {
        m_listId = parameter;
    } else if (keyword == Keyword::ListLevel && m_levels.size() < s_maxLevels) {
        m_levels.push_back(RtfListLevel::of(QTextListFormat::ListDisc, int(m_levels.size())));
    } else if (keyword == Keyword::LevelNumberFormat) {
        // Some writers give a list's style with no level around it.
        if (m_levels.empty())
            m_levels.push_back(RtfListLevel::of(QTextListFormat::ListDisc));
        m_levels.back().style = listStyleForLevelFormat(parameter);
    } else if (keyword == Keyword::LevelStartAt && !m_levels.empty()) {
        m_levels.back().start = std::clamp(parameter, 0, 32767);
    }
}

void RtfListTable::appendLevelText(QStringView text)
{
    if (!m_levels.empty() && m_levels.back().levelText.size() < s_maxLevelText)
        m_levels.back().levelText.append(
            text.first(std::min(text.size(), s_maxLevelText - m_levels.back().levelText.size())));
}

void RtfListTable::handleOverrideWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    switch (keyword) {
    case RtfKeywordTable::Keyword::ListEntry:
        commitList();
        break;
    case RtfKeywordTable::Keyword::ListId:
        m_listId = parameter;
        break;
    case RtfKeywordTable::Keyword::ListOverride:
        m_overrides.insert(parameter, m_listId);
        break;
    default:
        break;
    }
}

void RtfListTable::commitList()
{
    if (m_levels.empty())
        return;
    for (RtfListLevel& level : m_levels)
        takeNumberText(level);
    m_lists.insert(m_listId, std::exchange(m_levels, {}));
}

RtfListLevel RtfListTable::level(int override, int level) const
{
    if (override <= 0)
        return {};
    level = std::clamp(level, 0, int(s_maxLevels) - 1);
    const auto list = m_lists.constFind(m_overrides.value(override, -1));
    // A paragraph of a list the tables never declared is no list item: its \listtext is only
    // for readers without lists.
    if (list == m_lists.constEnd())
        return {};
    RtfListLevel found = list->at(std::min(size_t(level), list->size() - 1));
    found.level = level;
    found.list = override;
    return found;
}
