#pragma once

#include <QString>

/// Characters neither side of the codec carries, so writing then reading is stable.
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
};
