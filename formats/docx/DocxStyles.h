#pragma once

#include "formats/docx/DocxProperties.h"

#include <QHash>
#include <QTextCharFormat>

#include <optional>

class XmlReader;

/// A document's styles (styles.xml), resolved: each style with the document's defaults and the
/// styles it is based on beneath it.
class DocxStyles
{
public:
    /// What a paragraph style gives its paragraphs: their properties and their runs' format.
    struct Paragraph
    {
        DocxParagraphProperties properties;
        QTextCharFormat chars;
    };

    /// Runs no style sizes are 10 pt in Times New Roman, as in Word.
    DocxStyles();
    /// Reads styles.xml; false when it is damaged, with xml's error left in error.
    bool read(const QByteArray& styles, QString* error);
    /// Reads the fonts of the theme (theme1.xml) that runs may name.
    void readTheme(const QByteArray& theme);
    const DocxThemeFonts& theme() const { return m_theme; }

    /// The paragraph style id, or the default one when id is empty or unknown.
    const Paragraph& paragraph(const QString& id);
    /// What the character style id adds to a run.
    const QTextCharFormat& character(const QString& id);
    /// The width of the lines the table style id draws, in twips, when it says.
    std::optional<int> tableBorder(const QString& id) const;

private:
    struct Style
    {
        QString basedOn;
        Paragraph own;
    };

    void readDefaults(XmlReader& xml);
    void readStyle(XmlReader& xml);
    void readTableProperties(XmlReader& xml, const QString& id);
    Paragraph resolve(const QString& id, int depth) const;

    DocxThemeFonts m_theme;
    Paragraph m_defaults;
    QHash<QString, Style> m_styles;
    QString m_defaultParagraph;
    QHash<QString, Paragraph> m_resolved;
    QHash<QString, QTextCharFormat> m_characters;
    QHash<QString, int> m_tableBorders;
};
