#pragma once

#include "formats/rtf/RtfKeywordTable.h"

#include <QColor>

#include <optional>
#include <string_view>
#include <vector>

/// The \colortbl: colours by index, each entry ended by a semicolon.
class RtfColorTable
{
public:
    /// A new table replaces the previous one.
    void startTable()
    {
        m_colors.clear();
        m_componentSet = false;
    }
    /// \redN, \greenN and \blueN set a component of the entry being read.
    void handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Each semicolon in text ends an entry.
    void handleText(std::string_view text);
    /// The colour at index; none for index 0, the automatic colour, nor for an entry that set
    /// no component or an index past the table.
    std::optional<QColor> color(int index) const;

private:
    void commitColor();

    std::vector<std::optional<QColor>> m_colors;
    int m_rgb[3] = {0, 0, 0};
    bool m_componentSet = false;
};
