#include "dialogs/LeadingNumber.h"

#include <QLocale>

namespace {

bool isDigit(QStringView text, qsizetype at)
{
    return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
}

bool isSign(QStringView text, qsizetype at)
{
    return at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-'));
}

qsizetype skipDigits(QStringView text, qsizetype at)
{
    while (isDigit(text, at))
        ++at;
    return at;
}

/// The length of the number at the start of text (no blanks before it); 0 when there is none.
qsizetype numberLength(QStringView text)
{
    qsizetype at = isSign(text, 0) ? 1 : 0;
    const qsizetype mantissa = at;
    at = skipDigits(text, at);
    qsizetype digits = at - mantissa;
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        const qsizetype fraction = at + 1;
        at = skipDigits(text, fraction);
        digits += at - fraction;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it: "2e" is 2, "2e3" is 2000.
    if (at < text.size() && (text[at] == QLatin1Char('e') || text[at] == QLatin1Char('E'))) {
        qsizetype exponent = at + 1;
        if (isSign(text, exponent))
            ++exponent;
        if (isDigit(text, exponent))
            at = skipDigits(text, exponent);
    }
    return at;
}

} // namespace

double LeadingNumber::parse(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() &&
           (text[start] == QLatin1Char(' ') || text[start] == QLatin1Char('\t')))
        ++start;
    const QStringView number = text.mid(start, numberLength(text.mid(start)));
    if (number.isEmpty())
        return 0;
    // Out of range is no failure here: an overflow reads as infinity, an underflow as 0.
    bool ok = false;
    return QLocale::c().toDouble(number, &ok);
}
