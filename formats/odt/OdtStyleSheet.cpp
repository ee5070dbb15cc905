#include "formats/odt/OdtStyleSheet.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/Twips.h"
#include "formats/odt/OdtXml.h"

#include "formats/base/XmlReader.h"

namespace {

using OdtXml::fo;
using OdtXml::office;
using OdtXml::text;

// Styles inherit no deeper than this, which also ends a style that names itself among its
// ancestors.
constexpr int s_maxInheritance = 64;

// The width of a border as fo:border gives it ("0.5pt solid #000000"), 0 for none.
std::optional<double> borderWidth(QStringView border)
{
    if (border.isEmpty())
        return std::nullopt;
    for (QStringView word : border.split(u' ', Qt::SkipEmptyParts))
        if (const std::optional<double> width = OdtXml::twips(word))
            return width;
    return 0.0;
}

void readCellProperties(const XmlAttributes& attributes, OdtStyleSheet::Style& cellStyle)
{
    for (const QStringView side : {u"border", u"border-top", u"border-left"}) {
        if (const auto width = borderWidth(OdtXml::value(attributes, fo, side))) {
            cellStyle.border = width;
            break;
        }
    }
    for (const QStringView side : {u"padding", u"padding-left"}) {
        if (const auto padding = OdtXml::twips(OdtXml::value(attributes, fo, side))) {
            cellStyle.padding = padding;
            break;
        }
    }
}

} // namespace

bool OdtStyleSheet::read(XmlReader& reader)
{
    if (OdtXml::is(reader, office, u"font-face-decls"))
        readFontFaces(reader);
    else if (OdtXml::is(reader, office, u"styles") ||
             OdtXml::is(reader, office, u"automatic-styles"))
        readStyles(reader);
    else
        return false;
    return true;
}

void OdtStyleSheet::readFontFaces(XmlReader& reader)
{
    while (reader.readNextStartElement()) {
        if (OdtXml::is(reader, OdtXml::style, u"font-face"))
            m_fontFaces.insert(OdtXml::attribute(reader, OdtXml::style, u"name").toString(),
                               OdtProperties::unquotedFamily(
                                   OdtXml::attribute(reader, OdtXml::svg, u"font-family")));
        reader.skipCurrentElement();
    }
}

void OdtStyleSheet::readStyles(XmlReader& reader)
{
    while (reader.readNextStartElement()) {
        if (OdtXml::is(reader, OdtXml::style, u"style"))
            readStyle(reader, false);
        else if (OdtXml::is(reader, OdtXml::style, u"default-style"))
            readStyle(reader, true);
        else if (OdtXml::is(reader, text, u"list-style"))
            readListStyle(reader);
        else if (OdtXml::is(reader, OdtXml::style, u"page-layout"))
            readPageLayout(reader);
        else if (OdtXml::is(reader, text, u"notes-configuration"))
            readNotesConfiguration(reader);
        else
            reader.skipCurrentElement();
    }
    for (Named<Resolved>& cache : m_resolved)
        cache.clear();
    m_lastResolved = {};
}

void OdtStyleSheet::readNotesConfiguration(XmlReader& reader)
{
    const bool endnotes = OdtXml::attribute(reader, text, u"note-class") == u"endnote";
    const PageFurniture plain;
    m_notesNumbering[endnotes] = OdtProperties::readNotesNumbering(
        reader.attributes(), endnotes ? plain.endnotes : plain.footnotes);
    reader.skipCurrentElement();
}

void OdtStyleSheet::readStyle(XmlReader& reader, bool isDefault)
{
    const QString family = OdtXml::attribute(reader, OdtXml::style, u"family").toString();
    const QString name =
        isDefault ? QString() : OdtXml::attribute(reader, OdtXml::style, u"name").toString();
    Style read;
    read.parent = OdtXml::attribute(reader, OdtXml::style, u"parent-style-name").toString();
    read.listStyle = OdtXml::attribute(reader, OdtXml::style, u"list-style-name").toString();
    read.masterPage = OdtXml::attribute(reader, OdtXml::style, u"master-page-name").toString();
    readStyleProperties(reader, read);
    m_styles[family].insert_or_assign(name, std::move(read));
}

void OdtStyleSheet::readStyleProperties(XmlReader& reader, Style& read)
{
    while (reader.readNextStartElement()) {
        const XmlAttributes attributes = reader.attributes();
        if (OdtXml::is(reader, OdtXml::style, u"text-properties")) {
            OdtProperties::readText(attributes, m_fontFaces, read.chars);
        } else if (OdtXml::is(reader, OdtXml::style, u"paragraph-properties")) {
            OdtProperties::readParagraph(reader, read.block);
            continue;
        } else if (OdtXml::is(reader, OdtXml::style, u"table-column-properties") ||
                   OdtXml::is(reader, OdtXml::style, u"table-properties")) {
            read.width =
                OdtXml::twips(OdtXml::value(attributes, OdtXml::style, u"column-width"))
                    .value_or(OdtXml::twips(OdtXml::value(attributes, OdtXml::style, u"width"))
                                  .value_or(0));
            if (const auto left = OdtXml::twips(OdtXml::value(attributes, fo, u"margin-left")))
                read.block.setLeftMargin(Twips::toPixels(*left));
            if (OdtXml::value(attributes, fo, u"break-before") == u"page")
                read.block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        } else if (OdtXml::is(reader, OdtXml::style, u"table-cell-properties")) {
            readCellProperties(attributes, read);
        }
        reader.skipCurrentElement();
    }
}

void OdtStyleSheet::readListStyle(XmlReader& reader)
{
    ListStyle& levels = m_listStyles[OdtXml::attribute(reader, OdtXml::style, u"name").toString()];
    while (reader.readNextStartElement()) {
        const int level = OdtXml::attribute(reader, text, u"level").toInt();
        if (level >= 1 && level <= maxListLevels)
            levels[size_t(level - 1)] = OdtProperties::readListLevel(reader, level);
        else
            reader.skipCurrentElement();
    }
}

void OdtStyleSheet::readPageLayout(XmlReader& reader)
{
    PageLayout& layout =
        m_pageLayouts[OdtXml::attribute(reader, OdtXml::style, u"name").toString()];
    static constexpr std::array<QStringView, 6> names = {u"page-width",  u"page-height",
                                                         u"margin-left", u"margin-right",
                                                         u"margin-top",  u"margin-bottom"};
    while (reader.readNextStartElement()) {
        const XmlAttributes attributes = reader.attributes();
        if (OdtXml::is(reader, OdtXml::style, u"page-layout-properties")) {
            for (size_t index = 0; index < names.size(); ++index)
                if (const auto length = OdtXml::twips(OdtXml::value(attributes, fo, names[index])))
                    layout.page.lengths[index] = *length;
            layout.page.landscape =
                OdtXml::value(attributes, OdtXml::style, u"print-orientation") == u"landscape";
            reader.skipCurrentElement();
            continue;
        }
        const bool header = OdtXml::is(reader, OdtXml::style, u"header-style");
        if (!header && !OdtXml::is(reader, OdtXml::style, u"footer-style")) {
            reader.skipCurrentElement();
            continue;
        }
        // LibreOffice counts the spacing below a header within its height.
        while (reader.readNextStartElement()) {
            (header ? layout.headerRoom : layout.footerRoom) =
                OdtXml::twips(OdtXml::value(reader.attributes(), fo, u"min-height")).value_or(0);
            reader.skipCurrentElement();
        }
    }
}

OdtStyleSheet::Resolved& OdtStyleSheet::resolved(QStringView family, QStringView name)
{
    const size_t kind = family == u"paragraph" ? 0 : 1;
    // Paragraph after paragraph and run after run mostly share a style.
    if (m_lastResolved[kind] && m_lastResolved[kind]->first == name)
        return m_lastResolved[kind]->second;
    Named<Resolved>& cache = m_resolved[kind];
    auto found = cache.find(name);
    if (found == cache.end())
        found = cache.emplace(name.toString(), resolve(family, name)).first;
    m_lastResolved[kind] = &*found;
    return found->second;
}

OdtStyleSheet::Resolved OdtStyleSheet::resolve(QStringView family, QStringView name) const
{
    QList<const Style*> chain;
    Resolved result;
    for (QStringView ancestor = name; chain.size() < s_maxInheritance;) {
        result.seed = result.seed || ancestor == OdtXml::seedTextStyle;
        const Style* found = style(family, ancestor);
        if (!found)
            break;
        chain.prepend(found);
        if (found->parent.isEmpty() || ancestor.isEmpty())
            break;
        ancestor = found->parent;
    }
    if (family == u"paragraph" && (chain.isEmpty() || !name.isEmpty()))
        if (const Style* defaults = style(family, QStringView());
            defaults && chain.value(0) != defaults)
            chain.prepend(defaults);
    for (const Style* each : chain) {
        result.chars.merge(each->chars);
        result.block.merge(each->block);
        if (!each->listStyle.isEmpty())
            result.listStyle = each->listStyle;
    }
    result.inner.merge(result.chars);
    return result;
}

QTextCharFormat OdtStyleSheet::paragraphChars(QStringView name)
{
    return resolved(u"paragraph", name).chars;
}

QTextBlockFormat OdtStyleSheet::paragraphBlock(QStringView name)
{
    return resolved(u"paragraph", name).block;
}

QTextCharFormat OdtStyleSheet::spanChars(const QTextCharFormat& outer, QStringView name)
{
    Resolved& span = resolved(u"text", name);
    // Spans of a style mostly stand in text of one format.
    if (span.outer != outer) {
        span.outer = outer;
        span.inner = outer;
        span.inner.merge(span.chars);
    }
    return span.inner;
}

bool OdtStyleSheet::isSeedText(QStringView name)
{
    return resolved(u"text", name).seed;
}

QString OdtStyleSheet::listStyleOf(QStringView paragraphStyle)
{
    return resolved(u"paragraph", paragraphStyle).listStyle;
}

QString OdtStyleSheet::masterPageOf(QStringView paragraphStyle) const
{
    const Style* found = style(u"paragraph", paragraphStyle);
    return found ? found->masterPage : QString();
}

const OdtStyleSheet::Style* OdtStyleSheet::style(QStringView family, QStringView name) const
{
    const auto styles = m_styles.find(family);
    if (styles == m_styles.end())
        return nullptr;
    const auto found = styles->second.find(name);
    return found == styles->second.end() ? nullptr : &found->second;
}

std::optional<QTextListFormat> OdtStyleSheet::listLevel(QStringView listStyle, int level) const
{
    const auto found = m_listStyles.find(listStyle);
    if (found == m_listStyles.end() || level < 1)
        return std::nullopt;
    const QTextListFormat& format = found->second[size_t(std::min(level, maxListLevels) - 1)];
    if (format.style() == QTextListFormat::ListStyleUndefined)
        return std::nullopt;
    return format;
}

std::optional<OdtStyleSheet::PageLayout> OdtStyleSheet::pageLayout(QStringView name) const
{
    const auto found = m_pageLayouts.find(name);
    return found == m_pageLayouts.end() ? std::nullopt : std::optional(found->second);
}
