#include "formats/docx/DocxProperties.h"

#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"
#include <QColor>
#include <QTextFormat>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

using DocxXml::attribute;
using DocxXml::number;

constexpr std::array<std::pair<QLatin1StringView, QRgb>, 16> s_highlights = {{
    {"black"_L1, 0x000000},
    {"blue"_L1, 0x0000ff},
    {"cyan"_L1, 0x00ffff},
    {"green"_L1, 0x00ff00},
    {"magenta"_L1, 0xff00ff},
    {"red"_L1, 0xff0000},
    {"yellow"_L1, 0xffff00},
    {"white"_L1, 0xffffff},
    {"darkBlue"_L1, 0x000080},
    {"darkCyan"_L1, 0x008080},
    {"darkGreen"_L1, 0x008000},
    {"darkMagenta"_L1, 0x800080},
    {"darkRed"_L1, 0x800000},
    {"darkYellow"_L1, 0x808000},
    {"darkGray"_L1, 0x808080},
    {"lightGray"_L1, 0xc0c0c0},
}};

// The leaders of TextProperties::tabLeaders(), as Word names them; it has no double line,
// which the nearest stands in for.
constexpr std::array<QLatin1StringView, 6> s_leaders = {"dot"_L1,   "hyphen"_L1, "underscore"_L1,
                                                        "heavy"_L1, "hyphen"_L1, "middleDot"_L1};

std::optional<QColor> hexColor(QStringView value)
{
    bool ok = false;
    const uint rgb = value.toUInt(&ok, 16);
    if (!ok || value.size() != 6)
        return std::nullopt;
    return QColor::fromRgb(QRgb(rgb));
}

std::optional<QColor> highlight(QStringView value)
{
    for (const auto& [name, rgb] : s_highlights)
        if (value == name)
            return QColor::fromRgb(rgb);
    return std::nullopt;
}

QString fontFamily(const XmlAttributes& attributes, const DocxThemeFonts& theme)
{
    for (const auto name : {"ascii"_L1, "hAnsi"_L1, "cs"_L1, "eastAsia"_L1})
        if (const QStringView family = DocxXml::attribute(attributes, name); !family.isEmpty())
            return family.toString();
    const QStringView themed = DocxXml::attribute(attributes, "asciiTheme"_L1);
    if (themed.startsWith(u"major"))
        return theme.major;
    if (themed.startsWith(u"minor"))
        return theme.minor;
    return {};
}

// One child of an rPr. Runs are most of a document, so its attributes are looked at once.
void readRunProperty(const XmlReader& xml, QTextCharFormat& format, const DocxThemeFonts& theme)
{
    const XmlAttributes& attributes = xml.attributes();
    const QStringView value = DocxXml::attribute(attributes, "val"_L1);
    const bool on = DocxXml::isOn(value);
    const QStringView name = xml.name();
    if (name == u"b")
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (name == u"i")
        format.setFontItalic(on);
    else if (name == u"caps" || name == u"smallCaps")
        format.setFontCapitalization(!on               ? QFont::MixedCase
                                     : name == u"caps" ? QFont::AllUppercase
                                                       : QFont::SmallCaps);
    else if (name == u"strike" || name == u"dstrike")
        format.setFontStrikeOut(on);
    else if (name == u"u")
        format.setFontUnderline(on);
    else if (name == u"vanish")
        format.setProperty(DocxRunProperties::Hidden, on);
    else if (name == u"sz" && value.toInt() > 0)
        format.setFontPointSize(value.toInt() / 2.0);
    else if (name == u"color" && hexColor(value))
        format.setForeground(*hexColor(value));
    else if (name == u"highlight" && highlight(value))
        format.setBackground(*highlight(value));
    else if (name == u"shd" && hexColor(DocxXml::attribute(attributes, "fill"_L1)))
        format.setBackground(*hexColor(DocxXml::attribute(attributes, "fill"_L1)));
    else if (const QString family = name == u"rFonts" ? fontFamily(attributes, theme) : QString();
             !family.isEmpty())
        format.setFontFamilies(QStringList{family});
    else if (name == u"vertAlign")
        format.setVerticalAlignment(value == u"superscript" ? QTextCharFormat::AlignSuperScript
                                    : value == u"subscript" ? QTextCharFormat::AlignSubScript
                                                            : QTextCharFormat::AlignNormal);
}

std::optional<Qt::Alignment> alignment(QStringView value)
{
    if (value == u"center")
        return Qt::AlignHCenter;
    if (value == u"right" || value == u"end")
        return Qt::AlignRight;
    if (value == u"both" || value == u"distribute" || value.startsWith(u"thai"))
        return Qt::AlignJustify;
    if (value == u"left" || value == u"start")
        return Qt::AlignLeft;
    return std::nullopt;
}

} // namespace

void DocxParagraphProperties::read(XmlReader& xml, const DocxThemeFonts& theme,
                                   QTextCharFormat* mark,
                                   const std::function<void(XmlReader&)>& section)
{
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"pStyle") {
            style = attribute(xml, "val"_L1).toString();
        } else if (name == u"jc") {
            alignment = ::alignment(attribute(xml, "val"_L1));
        } else if (name == u"ind") {
            readIndents(xml);
        } else if (name == u"spacing") {
            readSpacing(xml);
        } else if (name == u"pageBreakBefore") {
            pageBreakBefore = DocxXml::isOn(xml);
        } else if (name == u"tabs") {
            readTabs(xml);
            continue;
        } else if (name == u"numPr") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"ilvl")
                    level = number(xml, "val"_L1);
                else if (xml.name() == u"numId")
                    numId = number(xml, "val"_L1);
                xml.skipCurrentElement();
            }
            continue;
        } else if (name == u"rPr" && mark) {
            DocxRunProperties::read(xml, *mark, theme);
            continue;
        } else if (name == u"sectPr" && section) {
            section(xml);
            continue;
        }
        xml.skipCurrentElement();
    }
}

void DocxParagraphProperties::readIndents(const XmlReader& xml)
{
    for (const auto name : {"left"_L1, "start"_L1})
        if (const auto value = number(xml, name))
            left = value;
    for (const auto name : {"right"_L1, "end"_L1})
        if (const auto value = number(xml, name))
            right = value;
    if (const auto value = number(xml, "firstLine"_L1))
        firstLine = value;
    if (const auto value = number(xml, "hanging"_L1))
        firstLine = -*value;
}

void DocxParagraphProperties::readSpacing(const XmlReader& xml)
{
    if (const auto value = number(xml, "before"_L1))
        before = value;
    if (const auto value = number(xml, "after"_L1))
        after = value;
    if (const auto value = number(xml, "line"_L1)) {
        line = value;
        const QStringView rule = attribute(xml, "lineRule"_L1);
        lineRule = rule == u"exact"     ? LineRule::Exact
                   : rule == u"atLeast" ? LineRule::AtLeast
                                        : LineRule::Auto;
    }
}

void DocxParagraphProperties::readTabs(XmlReader& xml)
{
    while (xml.readNextStartElement()) {
        const auto position = number(xml, "pos"_L1);
        const QStringView value = attribute(xml, "val"_L1);
        if (xml.name() == u"tab" && position) {
            Tab tab;
            tab.type = value == u"right" || value == u"end" ? QTextOption::RightTab
                       : value == u"center"                 ? QTextOption::CenterTab
                       : value == u"decimal"                ? QTextOption::DelimiterTab
                                                            : QTextOption::LeftTab;
            const QStringView leader = attribute(xml, "leader"_L1);
            tab.leader = DocxRunProperties::leaderOf(leader);
            tabs.insert(*position, value == u"clear" ? std::nullopt : std::optional(tab));
        }
        xml.skipCurrentElement();
    }
}

void DocxParagraphProperties::merge(const DocxParagraphProperties& over)
{
    const auto take = [](auto& mine, const auto& theirs) {
        if (theirs)
            mine = theirs;
    };
    take(alignment, over.alignment);
    take(left, over.left);
    take(right, over.right);
    take(firstLine, over.firstLine);
    take(before, over.before);
    take(after, over.after);
    take(line, over.line);
    take(lineRule, over.lineRule);
    take(pageBreakBefore, over.pageBreakBefore);
    take(numId, over.numId);
    take(level, over.level);
    for (auto tab = over.tabs.cbegin(); tab != over.tabs.cend(); ++tab)
        tabs.insert(tab.key(), tab.value());
    if (!over.style.isEmpty())
        style = over.style;
}

QTextBlockFormat DocxParagraphProperties::blockFormat(bool inList) const
{
    QTextBlockFormat format;
    if (alignment && *alignment != Qt::AlignLeft)
        format.setAlignment(*alignment);
    if (!inList && left.value_or(0) != 0)
        format.setLeftMargin(Twips::toPixels(*left));
    if (!inList && firstLine.value_or(0) != 0)
        format.setTextIndent(Twips::toPixels(*firstLine));
    if (right.value_or(0) != 0)
        format.setRightMargin(Twips::toPixels(*right));
    if (before.value_or(0) != 0)
        format.setTopMargin(Twips::toPixels(*before));
    if (after.value_or(0) != 0)
        format.setBottomMargin(Twips::toPixels(*after));
    if (line && lineRule == LineRule::Auto && *line != 240 && *line > 0)
        format.setLineHeight(*line * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else if (line && lineRule == LineRule::Exact)
        format.setLineHeight(Twips::toPixels(*line), QTextBlockFormat::FixedHeight);
    else if (line && lineRule == LineRule::AtLeast)
        format.setLineHeight(Twips::toPixels(*line), QTextBlockFormat::MinimumHeight);
    if (pageBreakBefore.value_or(false))
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    setTabStops(format, inList ? 0 : left.value_or(0) + firstLine.value_or(0));
    return format;
}

// Word measures tab stops from the margin, Qt from where the paragraph's first line starts.
void DocxParagraphProperties::setTabStops(QTextBlockFormat& format, int lineStart) const
{
    QList<QTextOption::Tab> stops;
    QString leaders;
    for (auto tab = tabs.cbegin(); tab != tabs.cend(); ++tab) {
        if (!tab.value())
            continue;
        const QTextOption::TabType type = tab.value()->type;
        stops.append(QTextOption::Tab(Twips::toPixels(tab.key() - lineStart), type,
                                      type == QTextOption::DelimiterTab ? QChar(u'.') : QChar()));
        leaders.append(QChar(tab.value()->leader));
    }
    if (stops.isEmpty())
        return;
    format.setTabPositions(stops);
    if (!leaders.trimmed().isEmpty())
        format.setProperty(TextProperties::TabLeaders, leaders);
}

QString DocxRunProperties::read(XmlReader& xml, QTextCharFormat& format,
                                const DocxThemeFonts& theme)
{
    QString style;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"rStyle")
            style = attribute(xml, "val"_L1).toString();
        else
            readRunProperty(xml, format, theme);
        xml.skipCurrentElement();
    }
    return style;
}

char16_t DocxRunProperties::leaderOf(QStringView name)
{
    for (size_t index = 0; index < s_leaders.size(); ++index)
        if (name == s_leaders[index])
            return TextProperties::tabLeader(int(index));
    return u' ';
}

QLatin1StringView DocxRunProperties::leaderName(char16_t leader)
{
    const size_t index = TextProperties::tabLeaders().find(leader);
    return index < s_leaders.size() ? s_leaders[index] : "none"_L1;
}
