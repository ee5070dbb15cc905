#pragma once

#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfKeywordTable.h"

#include <QHash>

#include <optional>

/// The \stylesheet: the character formatting each style number stands for.
class RtfStyleSheet
{
public:
    void startTable() { m_number = 0; }
    /// Takes \sN and \sbasedonN; false for any other word, which formats the style being read.
    bool handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Stores the style being read with the formatting its group set, once its name has ended.
    void commitStyle(RtfCharState chars);
    /// The formatting of style number, when the sheet has it.
    std::optional<RtfCharState> style(int number) const;

private:
    QHash<int, RtfCharState> m_styles;
    int m_number = 0;
    int m_base = -1;
};
