#pragma once

#include <QStringView>

/// Reads the number a text starts with, the way a typed entry is taken for a number.
class LeadingNumber
{
public:
    /// The value of the longest number after leading blanks (sign, digits, decimal point,
    /// exponent); 0 when the text does not start with one.
    static double parse(QStringView text);
};
