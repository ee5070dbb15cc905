#pragma once

#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfKeywordTable.h"

#include <QHash>

#include <optional>
#include <string>
#include <string_view>

/// The \stylesheet: the character formatting each style number stands for.
class RtfStyleSheet
{
public:
    /// The name of the character style that marks seed text.
    static constexpr std::string_view seedStyleName = "Seed Text";

    void startTable() { m_number = 0; }
    /// Starts a character style entry (\*\csN), of which only the seed text's is kept.
    void startCharacterStyle(int number);
    /// Takes \sN and \sbasedonN; false for any other word, which formats the style being read.
    bool handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Takes text of the style being read, whose group has set chars. The style's name ends at
    /// a semicolon, and by then its formatting is complete.
    void handleText(std::string_view text, const RtfCharState& chars)
    {
        if (m_characterStyle)
            handleCharacterStyleText(text);
        else if (text.find(';') != std::string_view::npos)
            commitStyle(chars);
    }
    /// Whether \csN is the character style that marks seed text.
    bool isSeedStyle(int number) const { return m_seedStyle >= 0 && number == m_seedStyle; }
    /// The formatting of style number, when the sheet has it.
    std::optional<RtfCharState> style(int number) const;

private:
    void commitStyle(RtfCharState chars);
    void handleCharacterStyleText(std::string_view text);

    QHash<int, RtfCharState> m_styles;
    int m_number = 0;
    int m_base = -1;
    bool m_characterStyle = false;
    std::string m_name;
    int m_seedStyle = -1;
};
