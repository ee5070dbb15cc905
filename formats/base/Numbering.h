#pragma once

#include <QString>

/// How a sequence of numbered things counts: the style of its numbers and the first one, as
/// notes and list items are numbered.
struct Numbering
{
    enum Style { Arabic, LowerLetter, UpperLetter, LowerRoman, UpperRoman, Symbols };
    Style style = Arabic;
    int start = 1;
    /// The widest range of first numbers a file may give; beyond it labels only grow long.
    static constexpr int lowestStart = 0;
    static constexpr int highestStart = 32767;

    /// The number of the thing counted ordinal, from 0.
    QString label(int ordinal) const;

    bool operator==(const Numbering&) const = default;
};
