#include "formats/docx/DocxStyles.h"

#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"

using namespace Qt::StringLiterals;

namespace {

// Deeper chains of styles than this are loops or hostile.
constexpr int s_maxBasedOn = 32;

} // namespace

DocxStyles::DocxStyles()
{
    m_defaults.chars.setFontPointSize(10);
    m_defaults.chars.setFontFamilies(QStringList{QStringLiteral("Times New Roman")});
}

bool DocxStyles::read(const QByteArray& styles, QString* error)
{
    XmlReader xml(styles);
    DocxXml::readLoosely(xml);
    if (DocxXml::toRoot(xml)) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"docDefaults")
                readDefaults(xml);
            else if (xml.name() == u"style")
                readStyle(xml);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return !xml.hasError();
}

void DocxStyles::readDefaults(XmlReader& xml)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != u"rPrDefault" && xml.name() != u"pPrDefault") {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == u"rPr")
                DocxRunProperties::read(xml, m_defaults.chars, m_theme);
            else if (xml.name() == u"pPr")
                m_defaults.properties.read(xml, m_theme, nullptr, {});
            else
                xml.skipCurrentElement();
        }
    }
}

void DocxStyles::readStyle(XmlReader& xml)
{
    const QString id = DocxXml::attribute(xml, "styleId"_L1).toString();
    // Read before the children, which the attributes' text does not outlive.
    const QStringView type = DocxXml::attribute(xml, "type"_L1);
    const bool kept = type == u"paragraph" || type == u"character";
    const QStringView isDefault = DocxXml::attribute(xml, "default"_L1);
    if (type == u"paragraph" && (isDefault == u"1" || isDefault == u"true"))
        m_defaultParagraph = id;
    Style style;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"basedOn") {
            style.basedOn = DocxXml::attribute(xml, "val"_L1).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == u"pPr") {
            style.own.properties.read(xml, m_theme, nullptr, {});
        } else if (xml.name() == u"rPr") {
            DocxRunProperties::read(xml, style.own.chars, m_theme);
        } else if (xml.name() == u"tblPr") {
            readTableProperties(xml, id);
        } else {
            xml.skipCurrentElement();
        }
    }
    // A paragraph's own style names nothing further.
    style.own.properties.style.clear();
    if (kept)
        m_styles.insert(id, style);
}

void DocxStyles::readTableProperties(XmlReader& xml, const QString& id)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != u"tblBorders") {
            xml.skipCurrentElement();
        } else if (const std::optional<int> border = DocxXml::readBorders(xml)) {
            m_tableBorders.insert(id, *border);
        }
    }
}

std::optional<int> DocxStyles::tableBorder(const QString& id) const
{
    const auto found = m_tableBorders.constFind(id);
    return found == m_tableBorders.constEnd() ? std::nullopt : std::optional(*found);
}

void DocxStyles::readTheme(const QByteArray& theme)
{
    XmlReader xml(theme);
    DocxXml::readLoosely(xml);
    if (!DocxXml::toRoot(xml))
        return;
    QString* font = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != XmlReader::StartElement)
            continue;
        if (xml.name() == u"majorFont")
            font = &m_theme.major;
        else if (xml.name() == u"minorFont")
            font = &m_theme.minor;
        else if (xml.name() == u"latin" && font && font->isEmpty())
            *font = DocxXml::attribute(xml, "typeface"_L1).toString();
    }
}

const DocxStyles::Paragraph& DocxStyles::paragraph(const QString& id)
{
    const QString& key = id.isEmpty() || !m_styles.contains(id) ? m_defaultParagraph : id;
    auto found = m_resolved.find(key);
    if (found == m_resolved.end()) {
        Paragraph resolved = m_defaults;
        const Paragraph style = resolve(key, 0);
        resolved.properties.merge(style.properties);
        resolved.chars.merge(style.chars);
        found = m_resolved.insert(key, resolved);
    }
    return *found;
}

const QTextCharFormat& DocxStyles::character(const QString& id)
{
    auto found = m_characters.find(id);
    if (found == m_characters.end())
        found = m_characters.insert(id, resolve(id, 0).chars);
    return *found;
}

DocxStyles::Paragraph DocxStyles::resolve(const QString& id, int depth) const
{
    const auto style = m_styles.constFind(id);
    if (style == m_styles.constEnd() || depth > s_maxBasedOn)
        return {};
    Paragraph resolved = resolve(style->basedOn, depth + 1);
    resolved.properties.merge(style->own.properties);
    resolved.chars.merge(style->own.chars);
    return resolved;
}
