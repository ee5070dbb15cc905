#include "formats/rtf/RtfFormatIds.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/TextProperties.h"

namespace {

// The size of text without \fs.
constexpr double s_defaultPoints = 12;

} // namespace

RtfFormatIds::RtfFormatIds(RtfBuildStream& stream, const RtfFontTable& fonts,
                           const RtfColorTable& colors, const RtfLinkTable& links)
    : m_stream(stream), m_fonts(fonts), m_colors(colors), m_links(links)
{
}

int RtfFormatIds::id(RtfCharState chars)
{
    chars.hidden = false;
    if (m_lastId >= 0 && chars == m_lastChars)
        return m_lastId;
    auto found = m_ids.constFind(chars);
    if (found == m_ids.constEnd())
        found = m_ids.insert(chars, m_stream.addFormat(formatFor(chars)));
    m_lastChars = chars;
    m_lastId = found.value();
    return m_lastId;
}

QTextCharFormat RtfFormatIds::formatFor(const RtfCharState& chars) const
{
    QTextCharFormat format;
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (const auto color = m_colors.color(chars.color))
        format.setForeground(*color);
    if (const QString family = m_fonts.familyFor(chars.font); !family.isEmpty()) {
        format.setFontFamilies({family});
        // Where the family is not installed, a face of its kind stands in.
        if (const QFont::StyleHint hint = m_fonts.styleHintFor(chars.font); hint != QFont::AnyStyle)
            format.setFontStyleHint(hint);
    }
    format.setFontPointSize(chars.halfPoints > 0 ? chars.halfPoints / 2.0 : s_defaultPoints);
    if (chars.vertical != 0)
        format.setVerticalAlignment(chars.vertical == 1 ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignSubScript);
    if (const auto highlight = m_colors.color(chars.highlight))
        format.setBackground(*highlight);
    if (chars.link > 0) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.target(chars.link));
    }
    if (chars.pageNumber)
        format.setProperty(PageFurniture::PageNumber, true);
    if (chars.note > 0)
        format.setProperty(PageFurniture::NoteMark, chars.note);
    if (chars.seedRun > 0)
        format.setProperty(TextProperties::SeedRun, chars.seedRun);
    if (chars.seedRunLength > 0)
        format.setProperty(TextProperties::SeedRunLength, chars.seedRunLength);
    if (chars.seedRunWords > 0) {
        format.setProperty(TextProperties::SeedRunWords, chars.seedRunWords);
        format.setProperty(TextProperties::SeedRunBreaks, chars.seedRunBreaks);
    }
    return format;
}
