#pragma once

#include <QString>

/// One font table entry: the family name and the code page its text is written in.
struct RtfFontEntry
{
    QString family;
    /// 0 when the font follows the document's \ansicpg.
    int codePage = 0;
};
