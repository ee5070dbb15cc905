#pragma once

#include <array>

/// The paper a text is laid out on and its margins, in twips, in the order of
/// paper width, paper height, left, right, top and bottom margins; the paper as it lies.
struct OdtPage
{
    enum Length { PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom };
    static constexpr int lengthCount = 6;

    std::array<double, lengthCount> lengths = {12240, 15840, 1800, 1800, 1440, 1440};
    bool landscape = false;
};
