#pragma once

#include "formats/odt/OdtPage.h"
#include "formats/odt/OdtProperties.h"

#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <array>
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
    QTextCharFormat paragraphChars(const QString& name);
    QTextBlockFormat paragraphBlock(const QString& name);
    /// A text style's own format, with what it inherits from other text styles.
    QTextCharFormat textChars(const QString& name);
    /// Whether the text style name is the seed's, or comes from it.
    bool isSeedText(const QString& name);
    /// The list style a paragraph style names, through its parents.
    QString listStyleOf(const QString& paragraphStyle);
    QString masterPageOf(const QString& paragraphStyle) const;
    const Style* style(QStringView family, const QString& name) const;
    std::optional<QTextListFormat> listLevel(const QString& listStyle, int level) const;
    std::optional<PageLayout> pageLayout(const QString& name) const;
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
    };

    void readStyles(XmlReader& reader);
    void readNotesConfiguration(XmlReader& reader);
    void readFontFaces(XmlReader& reader);
    void readStyle(XmlReader& reader, bool isDefault);
    void readStyleProperties(XmlReader& reader, Style& style);
    void readListStyle(XmlReader& reader);
    void readPageLayout(XmlReader& reader);
    const Resolved& resolved(QStringView family, const QString& name);

    OdtProperties::FontFaces m_fontFaces;
    QHash<QString, Style> m_styles;
    /// Resolved paragraph styles, then text styles, by name.
    std::array<QHash<QString, Resolved>, 2> m_resolved;
    /// The style of each kind resolved last, by name; set anew whenever its hash grows, which
    /// may move its entries.
    std::array<const Resolved*, 2> m_lastResolved = {};
    std::array<QString, 2> m_lastName;
    QHash<QString, ListStyle> m_listStyles;
    QHash<QString, PageLayout> m_pageLayouts;
    std::array<std::optional<Numbering>, 2> m_notesNumbering;
};
