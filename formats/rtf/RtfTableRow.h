#pragma once

#include <vector>

/// A table row's definition as \trowd to \row give it; lengths in twips.
struct RtfTableRow
{
    /// How a cell joins its neighbours in a merged cell.
    enum Merge : unsigned char {
        NoMerge = 0,
        /// Joined to the cell on its left (\clmrg).
        MergedLeft = 1,
        /// Joined to the cell above (\clvmrg).
        MergedUp = 2,
    };

    struct Cell
    {
        /// The cell's right edge from the left margin (\cellx).
        int right = 0;
        unsigned char merge = NoMerge;
    };

    /// Where the row starts from the left margin (\trleft).
    int left = 0;
    /// Half the space between the text of two cells (\trgaph).
    int gap = 0;
    /// The widest cell border, 0 for none.
    int borderWidth = 0;
    std::vector<Cell> cells;
};
