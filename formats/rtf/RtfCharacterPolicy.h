#pragma once

#include <QString>
#include <QTextListFormat>

/// What both sides of the codec agree on, so writing then reading is stable: the characters
/// neither carries, font names, and which lists are bullets.
class RtfCharacterPolicy
{
public:
    /// True for characters a document body cannot hold as text: control codes other than tab,
    /// paragraph and frame separators, and object placeholders.
    static constexpr bool isDropped(char16_t c)
    {
        if (c < 0x20)
            return c != u'\t';
        return c == 0x2029 || c == 0xfffc || c == 0xfdd0 || c == 0xfdd1;
    }

    /// A font name as both sides keep it: no control or separator characters, no surrounding
    /// white space. Two names that differ only there are one font.
    static QString fontName(QString family)
    {
        family.removeIf([](QChar c) {
            return c.unicode() < 0x20 || c == QChar::LineSeparator || isDropped(c.unicode());
        });
        return family.trimmed();
    }

    /// Lists written as bullets rather than numbers.
    static bool isBullet(QTextListFormat::Style style)
    {
        return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
               style == QTextListFormat::ListSquare;
    }

    /// Word's limit on a paragraph's tab stops; neither side keeps more.
    static constexpr qsizetype MaxTabStops = 64;
    /// How far from the margin a tab stop may lie, in twips. A stop is kept from where the first
    /// line starts and written back from the margin, so its range is wider than the indents'.
    static constexpr int MaxTabStopTwips = 4 * 31680;

    /// The value of a hexadecimal digit, or -1.
    static constexpr int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }
};
