#pragma once

#include "formats/odt/OdtPage.h"
#include "formats/odt/OdtProperties.h"

#include <QString>
#include <QStringView>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <array>
#include <cstring>
#include <map>
#include <optional>

class XmlReader;

/// The styles of an OpenDocument file as its reader needs them: named and automatic styles,
/// resolved through the styles they inherit from and the default style, list styles, and page
/// layouts.
class OdtStyleSheet
{
public:
    /// What a style says beyond Qt's character and paragraph formats.
    struct Style
    {
        QString parent;
        QString listStyle;
        QString masterPage;
        QTextCharFormat chars;
        QTextBlockFormat block;
        /// Of a table column, and of a table; twips, 0 when not given.
        double width = 0;
        /// Of a table cell, in twips.
        std::optional<double> border;
        std::optional<double> padding;
    };

    /// A page: its paper and margins, and the room its header and footer take, in twips.
    struct PageLayout
    {
        OdtPage page;
        double headerRoom = 0;
        double footerRoom = 0;
    };

    static constexpr int maxListLevels = 10;
    using ListStyle = std::array<QTextListFormat, maxListLevels>;

    /// Reads the element the reader stands on when it is one of font faces, styles, automatic
    /// styles: true when it was, false when it is another element, which stays unread.
    bool read(XmlReader& reader);

    /// The character format of text in a paragraph of paragraph style name, the default
    /// style's included.
    QTextCharFormat paragraphChars(QStringView name);
    QTextBlockFormat paragraphBlock(QStringView name);
    /// The format of a span of text style name in text of format outer: outer with the text
    /// style's own format, and what it inherits from other text styles, over it.
    QTextCharFormat spanChars(const QTextCharFormat& outer, QStringView name);
    /// Whether the text style name is the seed's, or comes from it.
    bool isSeedText(QStringView name);
    /// The list style a paragraph style names, through its parents.
    QString listStyleOf(QStringView paragraphStyle);
    QString masterPageOf(QStringView paragraphStyle) const;
    const Style* style(QStringView family, QStringView name) const;
    std::optional<QTextListFormat> listLevel(QStringView listStyle, int level) const;
    std::optional<PageLayout> pageLayout(QStringView name) const;
    /// How footnotes or endnotes are numbered, where the styles say.
    std::optional<Numbering> notesNumbering(bool endnotes) const
    {
        return m_notesNumbering[endnotes];
    }

private:
    struct Resolved
    {
        QTextCharFormat chars;
        QTextBlockFormat block;
        QString listStyle;
        /// The style is the seed's, or comes from it.
        bool seed = false;
        /// Of a text style: the format a span of it was last read in, and the span's format
        /// there.
        QTextCharFormat outer;
        QTextCharFormat inner;
    };
    /// Finds a name read from the XML as it stands, with no string made of it; a tree rather
    /// than a hash, so no file can make its lookups slow. Any strict order serves: lengths
    /// first spare comparing most names' characters.
    struct ByText
    {
        using is_transparent = void;
        bool operator()(QStringView left, QStringView right) const noexcept
        {
            if (left.size() != right.size())
                return left.size() < right.size();
            // An empty name may have no characters at all, which memcmp is not to be given.
            return !left.isEmpty() &&
                   std::memcmp(left.data(), right.data(), size_t(left.size()) * sizeof(QChar)) < 0;
        }
    };
    template <typename Value> using Named = std::map<QString, Value, ByText>;

    void readStyles(XmlReader& reader);
    void readNotesConfiguration(XmlReader& reader);
    void readFontFaces(XmlReader& reader);
    void readStyle(XmlReader& reader, bool isDefault);
    void readStyleProperties(XmlReader& reader, Style& style);
    void readListStyle(XmlReader& reader);
    void readPageLayout(XmlReader& reader);
    Resolved& resolved(QStringView family, QStringView name);
    Resolved resolve(QStringView family, QStringView name) const;

    OdtProperties::FontFaces m_fontFaces;
    /// By family, then by name.
    Named<Named<Style>> m_styles;
    /// Resolved paragraph styles, then text styles, by name.
    std::array<Named<Resolved>, 2> m_resolved;
    /// The style of each kind resolved last.
    std::array<Named<Resolved>::value_type*, 2> m_lastResolved = {};
    Named<ListStyle> m_listStyles;
    Named<PageLayout> m_pageLayouts;
    std::array<std::optional<Numbering>, 2> m_notesNumbering;
};
