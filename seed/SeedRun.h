#pragma once

#include <QString>

class SeedWords;

/// The arithmetic of one injection: which words a run takes, and where a run goes when it is
/// placed at random. Draws come in as single-precision values and are widened to double.
class SeedRun
{
public:
    /// The first and last (fractional) word positions of a run for the draws r1 and r2.
    struct Span
    {
        double start;
        double end;
    };

    static Span span(qsizetype lastIndex, float r1, float r2);
    /// The words from start to end, one step at a time, each followed by a space.
    static QString build(const SeedWords& words, float r1, float r2);
    /// The caret position for the draw r3 over a rich-text length.
    static qint64 caretPosition(float r3, qsizetype rtfLength);
    /// Rounds to the nearest integer, a value exactly halfway going to the even neighbour.
    static qint64 roundHalfEven(double value);
};
