#pragma once

#include "formats/rtf/RtfKeywordTable.h"

#include <QHash>
#include <QTextListFormat>

#include <optional>

/// The \listtable and \listoverridetable: the list style each \lsN of a paragraph names.
class RtfListTable
{
public:
    void startListTable() { m_listStyle.reset(); }
    void startOverrideTable() { m_listId = 0; }
    /// \list, \listidN and the first \levelnfcN of each list in the \listtable.
    void handleListWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// \listidN and \lsN in the \listoverridetable, which give a list an override number.
    void handleOverrideWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Stores the list being read, if it named a style, under its \listid.
    void commitList();
    /// The style of a paragraph's \lsN: a bullet when the tables lack it, none for
    /// \ls0 and below.
    QTextListFormat::Style overrideStyle(int override) const
    {
        return override > 0 ? m_overrideStyles.value(override, QTextListFormat::ListDisc)
                            : QTextListFormat::ListStyleUndefined;
    }

private:
    QHash<int, QTextListFormat::Style> m_listStyles;
    QHash<int, QTextListFormat::Style> m_overrideStyles;
    int m_listId = 0;
    std::optional<QTextListFormat::Style> m_listStyle;
};
