#pragma once

#include "formats/rtf/RtfKeywordTable.h"
#include "formats/rtf/RtfParagraphState.h"

#include <QHash>
#include <QStringView>

#include <vector>

/// The \listtable and \listoverridetable: the list level each \lsN and \ilvlN of a paragraph
/// names, with its numbering style, its number text and where it starts.
class RtfListTable
{
public:
    void startListTable() { m_levels.clear(); }
    void startOverrideTable() { m_listId = 0; }
    /// \list, \listid, \listlevel and the words of each level in the \listtable.
    void handleListWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Takes decoded text of the current level's \leveltext.
    void appendLevelText(QStringView text);
    /// \listidN and \lsN in the \listoverridetable, which give a list an override number.
    void handleOverrideWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Stores the list being read, if it has levels, under its \listid.
    void commitList();
    /// The level of a paragraph's \lsN and \ilvlN: a bullet when the tables lack it, none for
    /// \ls0 and below.
    RtfListLevel level(int override, int level) const;

private:
    QHash<int, std::vector<RtfListLevel>> m_lists;
    QHash<int, int> m_overrides;
    int m_listId = 0;
    /// The levels of the list being read, each with its raw number text until committed.
    std::vector<RtfListLevel> m_levels;
};
