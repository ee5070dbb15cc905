#pragma once

#include <array>

/// The page as the words \paperw, \paperh, \margl, \margr, \margt, \margb and \landscape give
/// it, or the first section's words for the same: what a file said, in twips, and what a
/// written one is to say.
struct RtfPage
{
    /// In the order of the words above.
    enum Length { PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom };
    static constexpr int lengthCount = MarginBottom + 1;

    std::array<int, lengthCount> lengths{};
    /// Which lengths the file gave, a bit for each.
    unsigned given = 0;
    bool landscape = false;

    bool isGiven(int length) const { return (given >> length) & 1u; }
    bool saysAnything() const { return given != 0 || landscape; }

    friend bool operator==(const RtfPage&, const RtfPage&) = default;
};
