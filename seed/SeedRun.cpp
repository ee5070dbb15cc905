#include "seed/SeedRun.h"

#include "seed/SeedWords.h"

#include <cmath>

namespace {

// A run longer than this is cut to a tenth, so long seeds do not flood the page.
constexpr double longRun = 10.0;

} // namespace

SeedRun::Span SeedRun::span(qsizetype lastIndex, float r1, float r2)
{
    const double u = double(lastIndex);
    const double start = double(r1) * u;
    double count = (u - start) * double(r2);
    if (count > longRun)
        count /= longRun;
    return {start, start + count};
}

QString SeedRun::build(const SeedWords& words, float r1, float r2)
{
    QString run;
    if (words.size() == 0)
        return run;
    const Span s = span(words.size() - 1, r1, r2);
    // The indices never go down: a half may repeat a word or skip one, nothing more.
    SeedWords::Cursor word = words.cursorAt(roundHalfEven(s.start));
    for (double v = s.start; v <= s.end; v += 1.0) {
        word.advanceTo(roundHalfEven(v));
        run += word.word();
        run += QLatin1Char(' ');
    }
    return run;
}

qint64 SeedRun::caretPosition(float r3, qsizetype rtfLength)
{
    return roundHalfEven(double(r3) * double(rtfLength));
}

qint64 SeedRun::roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        return qint64(below) + 1;
    return qint64(below);
}
