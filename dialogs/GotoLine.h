#pragma once

#include <QtGlobal>

#include <optional>

/// Which line a Go To entry names.
class GotoLine
{
public:
    /// The 0-based line index equal to value - 1, when value is a whole number of at least 1;
    /// a fraction, a negative or an infinite value names no line.
    static std::optional<qint64> lineIndex(double value);
};
