#pragma once

#include <QString>

/// How a sequence of numbered things counts: the style of its numbers and the first one, as
/// notes and list items are numbered.
struct Numbering
{
    enum Style { Arabic, LowerLetter, UpperLetter, LowerRoman, UpperRoman, Symbols };
    Style style = Arabic;
    int start = 1;

    /// The number of the thing counted ordinal, from 0.
    QString label(int ordinal) const;

    bool operator==(const Numbering&) const = default;
};
