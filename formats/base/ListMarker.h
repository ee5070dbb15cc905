#pragma once

#include <QString>

class QTextBlock;
class QTextList;
class QTextListFormat;

/// What a list item shows before its text: its bullet, or its number counted from where its
/// list starts, which Qt's own numbers ignore (TextProperties::ListStart).
struct ListMarker
{
    /// The marker of block, an item of list.
    static QString text(const QTextBlock& block, const QTextList& list);
    /// Whether Qt numbers the items of a list in format otherwise than text() does.
    static bool differsFromQt(const QTextListFormat& format);
};
