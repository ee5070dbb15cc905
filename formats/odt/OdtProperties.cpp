#include "formats/odt/OdtProperties.h"

#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/odt/OdtXml.h"

#include "formats/base/XmlReader.h"
#include "formats/base/XmlWriter.h"

#include <algorithm>
#include <array>

namespace {

using OdtXml::fo;
using OdtXml::style;
using OdtXml::text;

// The default leader of a tab stop, and ODF's leader characters for the others, in the order
// of TextProperties::tabLeaders().
constexpr char16_t s_noLeader = u' ';
constexpr std::u16string_view s_leaderTexts = u".-_._.";

struct NumberStyle
{
    QStringView odf;
    QTextListFormat::Style qt;
};

constexpr std::array<NumberStyle, 5> s_numberStyles = {{{u"1", QTextListFormat::ListDecimal},
                                                        {u"a", QTextListFormat::ListLowerAlpha},
                                                        {u"A", QTextListFormat::ListUpperAlpha},
                                                        {u"i", QTextListFormat::ListLowerRoman},
                                                        {u"I", QTextListFormat::ListUpperRoman}}};

// The num-format of each Numbering::Style, in its order; the symbols' is LibreOffice's.
constexpr std::array<QStringView, 6> s_noteFormats = {
    u"1", u"a", u"A", u"i", u"I", u"*, \u2020, \u2021, \u00a7, **, \u2020\u2020, ..."};

struct Bullet
{
    char16_t character;
    QTextListFormat::Style qt;
};

constexpr std::array<Bullet, 6> s_bullets = {{{u'•', QTextListFormat::ListDisc},
                                              {u'◦', QTextListFormat::ListCircle},
                                              {u'▪', QTextListFormat::ListSquare},
                                              {u'●', QTextListFormat::ListDisc},
                                              {u'○', QTextListFormat::ListCircle},
                                              {u'■', QTextListFormat::ListSquare}}};

// A list level's indent and the room for its marker, as word processors lay them out.
constexpr double s_levelIndent = 720;
constexpr double s_markerRoom = 360;

std::optional<double> pixels(QStringView length)
{
    const std::optional<double> twips = OdtXml::twips(length);
    return twips ? std::optional<double>(Twips::toPixels(*twips)) : std::nullopt;
}

QString lengthOfPixels(double pixels)
{
    return OdtXml::length(Twips::fromPixels(pixels));
}

void readVertical(QStringView position, QTextCharFormat& format)
{
    const QStringView first = position.trimmed().split(u' ').constFirst();
    const double percent = first.endsWith(u'%') ? first.chopped(1).toDouble() : 0;
    if (first == u"super" || percent > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (first == u"sub" || percent < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else
        format.setVerticalAlignment(QTextCharFormat::AlignNormal);
}

void readFont(const XmlAttributes& attributes, const OdtProperties::FontFaces& faces,
              QTextCharFormat& format)
{
    QString family = OdtProperties::unquotedFamily(OdtXml::value(attributes, fo, u"font-family"));
    if (const QStringView face = OdtXml::value(attributes, style, u"font-name"); !face.isEmpty())
        family = faces.value(face.toString(), face.toString());
    if (!family.isEmpty())
        format.setFontFamilies(QStringList{family});
    const std::optional<double> size = OdtXml::twips(OdtXml::value(attributes, fo, u"font-size"));
    if (size && *size > 0)
        format.setFontPointSize(*size / 20);
}

Qt::Alignment alignmentOf(QStringView align)
{
    if (align == u"center")
        return Qt::AlignHCenter;
    if (align == u"end" || align == u"right")
        return Qt::AlignRight;
    if (align == u"justify")
        return Qt::AlignJustify;
    return Qt::AlignLeft;
}

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("end");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    return QStringLiteral("start");
}

void readLineHeight(const XmlAttributes& attributes, QTextBlockFormat& format)
{
    const QStringView height = OdtXml::value(attributes, fo, u"line-height");
    if (height.endsWith(u'%'))
        format.setLineHeight(height.chopped(1).toDouble(), QTextBlockFormat::ProportionalHeight);
    else if (const std::optional<double> fixed = pixels(height))
        format.setLineHeight(*fixed, QTextBlockFormat::FixedHeight);
    else if (height == u"normal")
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
    if (const std::optional<double> least =
            pixels(OdtXml::value(attributes, style, u"line-height-at-least")))
        format.setLineHeight(*least, QTextBlockFormat::MinimumHeight);
    if (const std::optional<double> leading =
            pixels(OdtXml::value(attributes, style, u"line-spacing")))
        format.setLineHeight(*leading, QTextBlockFormat::LineDistanceHeight);
}

void writeLineHeight(XmlWriter& writer, const QTextBlockFormat& format)
{
    const double height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        writer.writeAttribute(QStringLiteral("fo:line-height"), QString::number(height) + u'%');
        break;
    case QTextBlockFormat::FixedHeight:
        writer.writeAttribute(QStringLiteral("fo:line-height"), lengthOfPixels(height));
        break;
    case QTextBlockFormat::MinimumHeight:
        writer.writeAttribute(QStringLiteral("style:line-height-at-least"), lengthOfPixels(height));
        break;
    case QTextBlockFormat::LineDistanceHeight:
        writer.writeAttribute(QStringLiteral("style:line-spacing"), lengthOfPixels(height));
        break;
    default:
        break;
    }
}

QTextOption::TabType tabType(QStringView type)
{
    if (type == u"center")
        return QTextOption::CenterTab;
    if (type == u"right")
        return QTextOption::RightTab;
    if (type == u"char")
        return QTextOption::DelimiterTab;
    return QTextOption::LeftTab;
}

// ODF measures tab stops from the paragraph's indent, Qt from where its first line starts.
void readTabStops(XmlReader& reader, QTextBlockFormat& format)
{
    QList<QTextOption::Tab> tabs;
    QString leaders;
    while (reader.readNextStartElement()) {
        if (!OdtXml::is(reader, style, u"tab-stop")) {
            reader.skipCurrentElement();
            continue;
        }
        // Kept whole: the views of the reader's own go with the next token.
        const XmlAttributes attributes = reader.attributes();
        const auto position = pixels(OdtXml::value(attributes, style, u"position"));
        const QTextOption::TabType type = tabType(OdtXml::value(attributes, style, u"type"));
        const QStringView leader = OdtXml::value(attributes, style, u"leader-text");
        const QStringView leaderStyle = OdtXml::value(attributes, style, u"leader-style");
        reader.skipCurrentElement();
        if (!position)
            continue;
        tabs.append(QTextOption::Tab(*position - format.textIndent(), type,
                                     type == QTextOption::DelimiterTab ? QChar(u'.') : QChar()));
        const qsizetype index =
            leader.isEmpty() ? -1 : s_leaderTexts.find(leader.front().unicode());
        const bool led = (!leaderStyle.isEmpty() && leaderStyle != u"none") || index >= 0;
        leaders.append(led ? QChar(TextProperties::tabLeader(int(std::max<qsizetype>(index, 0))))
                           : QChar(s_noLeader));
    }
    format.setTabPositions(tabs);
    if (!leaders.trimmed().isEmpty())
        format.setProperty(TextProperties::TabLeaders, leaders);
}

void writeTabStops(XmlWriter& writer, const QTextBlockFormat& format)
{
    const QString leaders = format.stringProperty(TextProperties::TabLeaders);
    writer.writeStartElement(QStringLiteral("style:tab-stops"));
    qsizetype index = 0;
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        writer.writeStartElement(QStringLiteral("style:tab-stop"));
        writer.writeAttribute(QStringLiteral("style:position"),
                              lengthOfPixels(tab.position + format.textIndent()));
        static constexpr std::array<const char*, 4> types = {"left", "right", "center", "char"};
        writer.writeAttribute(QStringLiteral("style:type"),
                              QString::fromLatin1(types[size_t(tab.type)]));
        if (tab.type == QTextOption::DelimiterTab)
            writer.writeAttribute(QStringLiteral("style:char"), QString(tab.delimiter));
        const qsizetype leader = index < leaders.size()
                                     ? TextProperties::tabLeaders().find(leaders[index].unicode())
                                     : -1;
        if (leader >= 0 && size_t(leader) != std::u16string_view::npos) {
            writer.writeAttribute(QStringLiteral("style:leader-style"), QStringLiteral("solid"));
            writer.writeAttribute(QStringLiteral("style:leader-text"),
                                  QString(QChar(s_leaderTexts[size_t(leader)])));
        }
        writer.writeEndElement();
        ++index;
    }
    writer.writeEndElement();
}

QString familyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

} // namespace

bool OdtProperties::hasText(const QTextCharFormat& format)
{
    static constexpr std::array<int, 10> properties = {QTextFormat::FontWeight,
                                                       QTextFormat::FontItalic,
                                                       QTextFormat::FontUnderline,
                                                       QTextFormat::TextUnderlineStyle,
                                                       QTextFormat::FontStrikeOut,
                                                       QTextFormat::ForegroundBrush,
                                                       QTextFormat::BackgroundBrush,
                                                       QTextFormat::FontPointSize,
                                                       QTextFormat::TextVerticalAlignment,
                                                       QTextFormat::FontFamilies};
    return !familyOf(format).isEmpty() ||
           std::any_of(properties.begin(), properties.end(),
                       [&](int property) { return format.hasProperty(property); });
}

void OdtProperties::readText(const XmlAttributes& attributes, const FontFaces& faces,
                             QTextCharFormat& format)
{
    if (const QStringView weight = OdtXml::value(attributes, fo, u"font-weight"); !weight.isEmpty())
        format.setFontWeight(weight == u"bold" || weight.toInt() >= 600 ? QFont::Bold
                                                                        : QFont::Normal);
    if (const QStringView italic = OdtXml::value(attributes, fo, u"font-style"); !italic.isEmpty())
        format.setFontItalic(italic == u"italic" || italic == u"oblique");
    if (const QStringView line = OdtXml::value(attributes, style, u"text-underline-style");
        !line.isEmpty())
        format.setFontUnderline(line != u"none");
    if (const QStringView line = OdtXml::value(attributes, style, u"text-line-through-style");
        !line.isEmpty())
        format.setFontStrikeOut(line != u"none");
    if (const QColor color = QColor::fromString(OdtXml::value(attributes, fo, u"color"));
        color.isValid())
        format.setForeground(color);
    if (const QStringView background = OdtXml::value(attributes, fo, u"background-color");
        !background.isEmpty()) {
        const QColor color = QColor::fromString(background);
        format.setBackground(color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush));
    }
    readFont(attributes, faces, format);
    if (const QStringView position = OdtXml::value(attributes, style, u"text-position");
        !position.isEmpty())
        readVertical(position, format);
}

void OdtProperties::writeText(XmlWriter& writer, const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontWeight))
        writer.writeAttribute(QStringLiteral("fo:font-weight"),
                              format.fontWeight() >= QFont::DemiBold ? QStringLiteral("bold")
                                                                     : QStringLiteral("normal"));
    if (format.hasProperty(QTextFormat::FontItalic))
        writer.writeAttribute(QStringLiteral("fo:font-style"), format.fontItalic()
                                                                   ? QStringLiteral("italic")
                                                                   : QStringLiteral("normal"));
    if (format.hasProperty(QTextFormat::TextUnderlineStyle) ||
        format.hasProperty(QTextFormat::FontUnderline)) {
        const bool on = format.fontUnderline();
        writer.writeAttribute(QStringLiteral("style:text-underline-style"),
                              on ? QStringLiteral("solid") : QStringLiteral("none"));
        if (on) {
            writer.writeAttribute(QStringLiteral("style:text-underline-width"),
                                  QStringLiteral("auto"));
            writer.writeAttribute(QStringLiteral("style:text-underline-color"),
                                  QStringLiteral("font-color"));
        }
    }
    if (format.hasProperty(QTextFormat::FontStrikeOut))
        writer.writeAttribute(QStringLiteral("style:text-line-through-style"),
                              format.fontStrikeOut() ? QStringLiteral("solid")
                                                     : QStringLiteral("none"));
    if (format.foreground().style() != Qt::NoBrush)
        writer.writeAttribute(QStringLiteral("fo:color"), format.foreground().color().name());
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        writer.writeAttribute(QStringLiteral("fo:background-color"),
                              format.background().style() == Qt::NoBrush
                                  ? QStringLiteral("transparent")
                                  : format.background().color().name());
    if (const QString family = familyOf(format); !family.isEmpty())
        writer.writeAttribute(QStringLiteral("fo:font-family"), quotedFamily(family));
    if (format.hasProperty(QTextFormat::FontPointSize))
        writer.writeAttribute(QStringLiteral("fo:font-size"),
                              QString::number(format.fontPointSize()) + QStringLiteral("pt"));
    if (format.hasProperty(QTextFormat::TextVerticalAlignment)) {
        const auto vertical = format.verticalAlignment();
        writer.writeAttribute(
            QStringLiteral("style:text-position"),
            vertical == QTextCharFormat::AlignSuperScript ? QStringLiteral("super 58%")
            : vertical == QTextCharFormat::AlignSubScript ? QStringLiteral("sub 58%")
                                                          : QStringLiteral("0% 100%"));
    }
}

void OdtProperties::readParagraph(XmlReader& reader, QTextBlockFormat& format)
{
    const XmlAttributes attributes = reader.attributes();
    if (const QStringView align = OdtXml::value(attributes, fo, u"text-align"); !align.isEmpty())
        format.setAlignment(alignmentOf(align));
    if (const auto left = pixels(OdtXml::value(attributes, fo, u"margin-left")))
        format.setLeftMargin(*left);
    if (const auto right = pixels(OdtXml::value(attributes, fo, u"margin-right")))
        format.setRightMargin(*right);
    if (const auto indent = pixels(OdtXml::value(attributes, fo, u"text-indent")))
        format.setTextIndent(*indent);
    if (const auto top = pixels(OdtXml::value(attributes, fo, u"margin-top")))
        format.setTopMargin(*top);
    if (const auto bottom = pixels(OdtXml::value(attributes, fo, u"margin-bottom")))
        format.setBottomMargin(*bottom);
    readLineHeight(attributes, format);
    if (OdtXml::value(attributes, fo, u"break-before") == u"page")
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    else if (OdtXml::value(attributes, fo, u"break-after") == u"page")
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    while (reader.readNextStartElement()) {
        if (OdtXml::is(reader, style, u"tab-stops"))
            readTabStops(reader, format);
        else
            reader.skipCurrentElement();
    }
}

void OdtProperties::writeParagraph(XmlWriter& writer, const QTextBlockFormat& format)
{
    writer.writeStartElement(QStringLiteral("style:paragraph-properties"));
    if (format.hasProperty(QTextFormat::BlockAlignment))
        writer.writeAttribute(QStringLiteral("fo:text-align"), alignmentName(format.alignment()));
    const std::array<std::pair<int, const char*>, 5> margins = {
        {{QTextFormat::BlockLeftMargin, "margin-left"},
         {QTextFormat::BlockRightMargin, "margin-right"},
         {QTextFormat::TextIndent, "text-indent"},
         {QTextFormat::BlockTopMargin, "margin-top"},
         {QTextFormat::BlockBottomMargin, "margin-bottom"}}};
    for (const auto& [property, name] : margins)
        if (format.hasProperty(property))
            writer.writeAttribute(QStringLiteral("fo:") + QString::fromLatin1(name),
                                  lengthOfPixels(format.doubleProperty(property)));
    writeLineHeight(writer, format);
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        writer.writeAttribute(QStringLiteral("fo:break-before"), QStringLiteral("page"));
    else if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        writer.writeAttribute(QStringLiteral("fo:break-after"), QStringLiteral("page"));
    if (!format.tabPositions().isEmpty())
        writeTabStops(writer, format);
    writer.writeEndElement();
}

QTextListFormat OdtProperties::readListLevel(XmlReader& reader, int level)
{
    QTextListFormat format;
    format.setIndent(level);
    const XmlAttributes attributes = reader.attributes();
    if (reader.name() == u"list-level-style-bullet") {
        const QStringView bullet = OdtXml::value(attributes, text, u"bullet-char");
        format.setStyle(QTextListFormat::ListDisc);
        for (const Bullet& known : s_bullets)
            if (bullet.size() == 1 && bullet.front() == QChar(known.character))
                format.setStyle(known.qt);
    } else if (reader.name() == u"list-level-style-number") {
        format.setStyle(QTextListFormat::ListDecimal);
        const QStringView numbers = OdtXml::value(attributes, style, u"num-format");
        for (const NumberStyle& known : s_numberStyles)
            if (numbers == known.odf)
                format.setStyle(known.qt);
        format.setNumberPrefix(OdtXml::value(attributes, style, u"num-prefix").toString());
        format.setNumberSuffix(OdtXml::value(attributes, style, u"num-suffix").toString());
        if (const int start = OdtXml::value(attributes, text, u"start-value").toInt(); start > 1)
            format.setProperty(TextProperties::ListStart, start);
    }
    reader.skipCurrentElement();
    return format;
}

void OdtProperties::writeListLevel(XmlWriter& writer, const QTextListFormat& format, int level)
{
    const QTextListFormat::Style listStyle = format.style();
    const bool bullet = listStyle == QTextListFormat::ListDisc ||
                        listStyle == QTextListFormat::ListCircle ||
                        listStyle == QTextListFormat::ListSquare;
    writer.writeStartElement(bullet ? QStringLiteral("text:list-level-style-bullet")
                                    : QStringLiteral("text:list-level-style-number"));
    writer.writeAttribute(QStringLiteral("text:level"), QString::number(level));
    if (bullet) {
        for (const Bullet& known : s_bullets)
            if (known.qt == listStyle) {
                writer.writeAttribute(QStringLiteral("text:bullet-char"),
                                      QString(QChar(known.character)));
                break;
            }
    } else {
        writer.writeAttribute(QStringLiteral("style:num-prefix"), format.numberPrefix());
        writer.writeAttribute(QStringLiteral("style:num-suffix"), format.numberSuffix());
        QString numbers = QStringLiteral("1");
        for (const NumberStyle& known : s_numberStyles)
            if (known.qt == listStyle)
                numbers = known.odf.toString();
        writer.writeAttribute(QStringLiteral("style:num-format"), numbers);
        if (format.hasProperty(TextProperties::ListStart))
            writer.writeAttribute(QStringLiteral("text:start-value"),
                                  QString::number(format.intProperty(TextProperties::ListStart)));
    }
    writer.writeStartElement(QStringLiteral("style:list-level-properties"));
    writer.writeAttribute(QStringLiteral("text:list-level-position-and-space-mode"),
                          QStringLiteral("label-alignment"));
    writer.writeStartElement(QStringLiteral("style:list-level-label-alignment"));
    writer.writeAttribute(QStringLiteral("text:label-followed-by"), QStringLiteral("listtab"));
    writer.writeAttribute(QStringLiteral("text:list-tab-stop-position"),
                          OdtXml::length(s_levelIndent * level));
    writer.writeAttribute(QStringLiteral("fo:text-indent"), OdtXml::length(-s_markerRoom));
    writer.writeAttribute(QStringLiteral("fo:margin-left"), OdtXml::length(s_levelIndent * level));
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
}

Numbering OdtProperties::readNotesNumbering(const XmlAttributes& attributes, Numbering numbering)
{
    const QStringView format = OdtXml::value(attributes, style, u"num-format");
    const auto found = std::find(s_noteFormats.begin(), s_noteFormats.end(), format);
    if (found != s_noteFormats.end())
        numbering.style = Numbering::Style(found - s_noteFormats.begin());
    // Counted from 0, as LibreOffice writes it.
    bool given = false;
    if (const int offset = OdtXml::value(attributes, text, u"start-value").toInt(&given); given)
        numbering.start =
            std::clamp(offset, Numbering::lowestStart - 1, Numbering::highestStart - 1) + 1;
    return numbering;
}

void OdtProperties::writeNotesConfiguration(XmlWriter& writer, bool endnotes,
                                            const Numbering& numbering)
{
    writer.writeEmptyElement(QStringLiteral("text:notes-configuration"));
    writer.writeAttribute(QStringLiteral("text:note-class"),
                          endnotes ? QStringLiteral("endnote") : QStringLiteral("footnote"));
    writer.writeAttribute(QStringLiteral("style:num-format"),
                          s_noteFormats[size_t(numbering.style)]);
    writer.writeAttribute(QStringLiteral("text:start-value"), QString::number(numbering.start - 1));
    // Without both, LibreOffice does not count footnotes through the whole document.
    if (!endnotes) {
        writer.writeAttribute(QStringLiteral("text:footnotes-position"), QStringLiteral("page"));
        writer.writeAttribute(QStringLiteral("text:start-numbering-at"),
                              QStringLiteral("document"));
    }
}

QString OdtProperties::quotedFamily(const QString& family)
{
    return family.contains(u' ') ? u'\'' + family + u'\'' : family;
}

QString OdtProperties::unquotedFamily(QStringView family)
{
    QStringView first = family.split(u',').constFirst().trimmed();
    if (first.size() >= 2 && (first.front() == u'\'' || first.front() == u'"') &&
        first.back() == first.front())
        first = first.sliced(1, first.size() - 2);
    return first.toString();
}
