#pragma once

#include <QString>
#include <QTextFormat>
#include <QTextListFormat>

#include <string_view>

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

    /// The Symbol font, whose bytes stand for Greek letters and mathematical signs. Its text is
    /// read as the characters it shows, and written with a character set that keeps them.
    static bool isSymbolFont(const QString& family)
    {
        return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
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

    /// The block property holding a paragraph's tab leaders, one character per tab stop, which
    /// Qt's tab stops cannot carry: a space for none, then as tabLeaders() names them.
    static constexpr int TabLeadersProperty = QTextFormat::UserProperty + 1;
    /// The list format properties holding what Qt's lists cannot show: the number the list
    /// starts at, and the number text of a level that shows several levels' numbers, as the
    /// RTF list table gives it.
    static constexpr int ListStartProperty = QTextFormat::UserProperty + 2;
    static constexpr int ListLevelTextProperty = QTextFormat::UserProperty + 3;
    /// Hidden text (\v) is kept out of the text, which shows, counts and spells only what is
    /// seen: each run of it is one object character of this type, of no size, holding the
    /// run's text in HiddenTextProperty.
    static constexpr int HiddenTextObject = QTextFormat::UserObject + 1;
    static constexpr int HiddenTextProperty = QTextFormat::UserProperty + 4;
    /// The list format property naming which of the file's lists (\lsN) a list is, so two lists
    /// that look alike stay two lists, each numbered from its own start.
    static constexpr int ListIdProperty = QTextFormat::UserProperty + 5;
    /// The table format property holding a border thinner than a pixel in twips, as the file
    /// gave it: Qt draws no such border, so it is drawn a pixel wide and written back as it was.
    static constexpr int TableBorderTwipsProperty = QTextFormat::UserProperty + 6;
    /// The leaders of \tldot, \tlhyph, \tlul, \tlth, \tleq and \tlmdot, in that order.
    static constexpr std::u16string_view tabLeaders() { return u".-_t=m"; }
    static constexpr char16_t tabLeader(int index) { return tabLeaders()[size_t(index)]; }

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
