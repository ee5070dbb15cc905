#include "dialogs/GotoLine.h"

#include <cmath>

std::optional<qint64> GotoLine::lineIndex(double value)
{
    // Beyond 2^53 a double no longer holds every whole number, and no document has that many lines.
    constexpr double largestExact = 9007199254740992.0;
    if (!(value >= 1) || value > largestExact || std::floor(value) != value)
        return std::nullopt;
    return qint64(value) - 1;
}
