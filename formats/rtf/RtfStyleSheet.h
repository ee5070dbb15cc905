#pragma once

#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfKeywordTable.h"

#include <QHash>

#include <optional>
#include <string_view>

/// The \stylesheet: the character formatting each style number stands for.
class RtfStyleSheet
{
public:
    void startTable() { m_number = 0; }
    /// Takes \sN and \sbasedonN; false for any other word, which formats the style being read.
    bool handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Takes text of the style being read, whose group has set chars. The style's name ends at
    /// a semicolon, and by then its formatting is complete.
    void handleText(std::string_view text, const RtfCharState& chars)
    {
        if (text.find(';') != std::string_view::npos)
            commitStyle(chars);
    }
    /// The formatting of style number, when the sheet has it.
    std::optional<RtfCharState> style(int number) const;

private:
    void commitStyle(RtfCharState chars);

    QHash<int, RtfCharState> m_styles;
    int m_number = 0;
    int m_base = -1;
};
