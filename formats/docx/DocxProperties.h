#pragma once

#include <QMap>
#include <QString>
#include <QTextFormat>
#include <QTextOption>

#include <functional>
#include <optional>

class XmlReader;

/// The typefaces a document's theme names, which runs may refer to instead of naming a font.
struct DocxThemeFonts
{
    QString major;
    QString minor;
};

/// A paragraph's properties as a pPr element gives them, layered from the document's defaults
/// through its styles to the paragraph's own: each kept only when given, lengths in twips.
struct DocxParagraphProperties
{
    enum class LineRule { Auto, Exact, AtLeast };
    struct Tab
    {
        QTextOption::TabType type = QTextOption::LeftTab;
        char16_t leader = u' ';
    };

    std::optional<Qt::Alignment> alignment;
    std::optional<int> left, right, firstLine, before, after, line;
    std::optional<LineRule> lineRule;
    std::optional<bool> pageBreakBefore;
    /// By position; an empty entry clears a stop a style set.
    QMap<int, std::optional<Tab>> tabs;
    std::optional<int> numId, level;
    QString style;

    /// Reads the children of a pPr element; mark hears the paragraph mark's run properties and
    /// section reads the properties of a section this paragraph ends.
    void read(XmlReader& xml, const DocxThemeFonts& theme, QTextCharFormat* mark,
              const std::function<void(XmlReader&)>& section);
    /// Takes every property over gives.
    void merge(const DocxParagraphProperties& over);
    /// The block format these properties make; a list brings its own indents.
    QTextBlockFormat blockFormat(bool inList) const;

private:
    void readIndents(const XmlReader& xml);
    void readSpacing(const XmlReader& xml);
    void readTabs(XmlReader& xml);
    void setTabStops(QTextBlockFormat& format, int lineStart) const;
};

/// Run properties (rPr) as character formats, which merge as the layers of styles do.
namespace DocxRunProperties {

/// What a run's format carries while it is read when the run is hidden (vanish), before it
/// becomes a hidden text object.
inline constexpr int Hidden = QTextFormat::UserProperty + 0x5400;

/// Reads the children of an rPr element into format; returns the character style it names.
QString read(XmlReader& xml, QTextCharFormat& format, const DocxThemeFonts& theme);
/// A tab leader as TextProperties keeps it, from Word's name for it, and back.
char16_t leaderOf(QStringView name);
QLatin1StringView leaderName(char16_t leader);

} // namespace DocxRunProperties
