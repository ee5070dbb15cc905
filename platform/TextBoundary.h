#pragma once

#include <QStringView>

/// Where text may be cut without breaking a character: grapheme cluster boundaries, so neither
/// a surrogate pair nor a letter and its combining marks come apart.
class TextBoundary
{
public:
    /// The boundary nearest to position in text, the earlier one of two as near.
    static qsizetype nearest(QStringView text, qsizetype position);
};
