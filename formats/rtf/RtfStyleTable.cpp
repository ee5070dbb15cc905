#include "formats/rtf/RtfStyleTable.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/TextProperties.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <QTextDocument>

#include <algorithm>

namespace {

// The reader clamps to the same range, so a size read back writes out unchanged.
constexpr int s_maxHalfPoints = 3276;
constexpr double s_fallbackPointSize = 12.0;

bool isUnderlined(const QTextCharFormat& format)
{
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    return format.fontUnderline() ||
           (style != QTextCharFormat::NoUnderline && style != QTextCharFormat::SpellCheckUnderline);
}

int toHalfPoints(double points)
{
    return std::clamp(qRound(points * 2), 1, s_maxHalfPoints);
}

} // namespace

RtfStyleTable::RtfStyleTable(const QTextDocument& document)
    : m_document(document), m_formats(document.allFormats()), m_styles(size_t(m_formats.size()))
{
    const QFont font = document.defaultFont();
    m_fonts.append(RtfCharacterPolicy::fontName(font.family()));
    m_fontHints.append(font.styleHint());
    m_fontIndices.insert(m_fonts.first(), 0);
    m_defaultHalfPoints =
        toHalfPoints(font.pointSizeF() > 0 ? font.pointSizeF() : s_fallbackPointSize);
    m_defaultStyle.font = 0;
    m_defaultStyle.halfPoints = m_defaultHalfPoints;
}

RtfStyleTable::RtfStyleTable(const QTextDocument& document, const RtfStyleTable& tables)
    : RtfStyleTable(document)
{
    m_defaultStyle = tables.m_defaultStyle;
    m_defaultHalfPoints = tables.m_defaultHalfPoints;
    adoptTables(tables);
}

void RtfStyleTable::adoptTables(const RtfStyleTable& other)
{
    m_fonts = other.m_fonts;
    m_fontIndices = other.m_fontIndices;
    m_fontHints = other.m_fontHints;
    m_colors = other.m_colors;
    m_colorIndices = other.m_colorIndices;
}

const RtfRunStyle& RtfStyleTable::styleFor(int formatIndex)
{
    // A document only ever adds formats, so the indices already resolved stay valid.
    if (formatIndex >= 0 && size_t(formatIndex) >= m_styles.size()) {
        m_formats = m_document.allFormats();
        m_styles.resize(size_t(m_formats.size()));
    }
    if (formatIndex < 0 || size_t(formatIndex) >= m_styles.size())
        return m_defaultStyle;
    std::optional<RtfRunStyle>& style = m_styles[size_t(formatIndex)];
    if (!style)
        style = resolve(m_formats.at(formatIndex).toCharFormat());
    return *style;
}

RtfRunStyle RtfStyleTable::resolve(const QTextCharFormat& format)
{
    RtfRunStyle style;
    style.bold = format.fontWeight() > QFont::Medium;
    style.italic = format.fontItalic();
    style.underline = isUnderlined(format);
    style.strike = format.fontStrikeOut();
    const QBrush foreground = format.foreground();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && foreground.style() != Qt::NoBrush)
        style.color = colorIndex(foreground.color().rgb());
    const QString family = RtfCharacterPolicy::fontName(
        format.property(QTextFormat::FontFamilies).toStringList().value(0));
    // Unset, the hint reads as Helvetica's.
    style.font = family.isEmpty() ? 0
                                  : fontIndex(family, format.hasProperty(QTextFormat::FontStyleHint)
                                                          ? format.fontStyleHint()
                                                          : QFont::AnyStyle);
    style.halfPoints = format.hasProperty(QTextFormat::FontPointSize)
                           ? toHalfPoints(format.fontPointSize())
                           : m_defaultHalfPoints;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        style.vertical = 1;
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        style.vertical = 2;
    const QBrush background = format.background();
    if (format.hasProperty(QTextFormat::BackgroundBrush) && background.style() != Qt::NoBrush &&
        background.color().alpha() > 0)
        style.highlight = colorIndex(background.color().rgb());
    if (format.isAnchor())
        style.link = format.anchorHref();
    style.note = format.intProperty(PageFurniture::NoteMark);
    style.customMark = format.boolProperty(PageFurniture::CustomMark);
    style.pageNumber = format.boolProperty(PageFurniture::PageNumber);
    style.seedRun = format.property(TextProperties::SeedRun).toLongLong();
    style.seedRunLength = format.property(TextProperties::SeedRunLength).toLongLong();
    style.seedRunWords = format.property(TextProperties::SeedRunWords).toLongLong();
    style.seedRunBreaks = format.property(TextProperties::SeedRunBreaks).toLongLong();
    return style;
}

int RtfStyleTable::fontIndex(const QString& family, QFont::StyleHint hint)
{
    const auto found = m_fontIndices.constFind(family);
    if (found != m_fontIndices.constEnd()) {
        if (m_fontHints[found.value()] == QFont::AnyStyle)
            m_fontHints[found.value()] = hint;
        return found.value();
    }
    m_fonts.append(family);
    m_fontHints.append(hint);
    return m_fontIndices.insert(family, int(m_fonts.size() - 1)).value();
}

int RtfStyleTable::colorIndex(QRgb color)
{
    const auto found = m_colorIndices.constFind(color);
    if (found != m_colorIndices.constEnd())
        return found.value();
    m_colors.append(color);
    return m_colorIndices.insert(color, int(m_colors.size())).value();
}
