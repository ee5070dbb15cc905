#include "formats/base/Numbering.h"

#include <algorithm>
#include <utility>

namespace {

QString letters(int ordinal, bool upper)
{
    // a..z, then aa..zz and so on, as word processors count past z.
    const QChar letter(char16_t((upper ? u'A' : u'a') + ordinal % 26));
    return QString(ordinal / 26 + 1, letter);
}

QString roman(int number, bool upper)
{
    static constexpr std::pair<int, const char*> digits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto& [value, digit] : digits)
        for (; number >= value; number -= value)
            text += QLatin1String(digit);
    return upper ? text.toUpper() : text;
}

} // namespace

QString Numbering::label(int ordinal) const
{
    const int number = std::max(start + ordinal, 0);
    switch (style) {
    case LowerLetter:
    case UpperLetter:
        return number > 0 ? letters(number - 1, style == UpperLetter) : QStringLiteral("0");
    case LowerRoman:
    case UpperRoman:
        return number > 0 ? roman(number, style == UpperRoman) : QStringLiteral("0");
    case Symbols: {
        // *, dagger, double dagger, section sign, then each doubled, tripled...
        static constexpr char16_t signs[] = {u'*', u'\u2020', u'\u2021', u'\u00a7'};
        const int index = std::max(number - 1, 0);
        return QString(index / 4 + 1, QChar(signs[index % 4]));
    }
    case Arabic:
        break;
    }
    return QString::number(number);
}
