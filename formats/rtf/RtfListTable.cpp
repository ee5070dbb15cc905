#include "formats/rtf/RtfListTable.h"

namespace {

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

} // namespace

void RtfListTable::handleListWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    switch (keyword) {
    case RtfKeywordTable::Keyword::ListEntry:
        commitList();
        break;
    case RtfKeywordTable::Keyword::LevelNumberFormat:
        // Only the first level counts: the document holds one level of list.
        if (!m_listStyle)
            m_listStyle = listStyleForLevelFormat(parameter);
        break;
    case RtfKeywordTable::Keyword::ListId:
        m_listId = parameter;
        break;
    default:
        break;
    }
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
        m_overrideStyles.insert(parameter, m_listStyles.value(m_listId, QTextListFormat::ListDisc));
        break;
    default:
        break;
    }
}

void RtfListTable::commitList()
{
    if (m_listStyle)
        m_listStyles.insert(m_listId, *m_listStyle);
    m_listStyle.reset();
}
