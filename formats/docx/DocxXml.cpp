#include "formats/docx/DocxXml.h"

#include <algorithm>

namespace DocxXml {

QStringView attribute(const XmlReader& xml, QLatin1StringView name)
{
    return attribute(xml.attributes(), name);
}

QStringView attribute(const XmlAttributes& attributes, QLatin1StringView name)
{
    // Without namespace processing, a namespace's declaration is an attribute like the others.
    for (const XmlAttribute& attribute : attributes)
        if (attribute.name() == name && attribute.prefix() != u"xmlns")
            return attribute.value();
    return {};
}

std::optional<int> number(const XmlReader& xml, QLatin1StringView name)
{
    const QStringView value = attribute(xml, name);
    bool ok = false;
    // Some writers give lengths with a fraction.
    const double parsed = value.toDouble(&ok);
    if (!ok || parsed > 1e9 || parsed < -1e9)
        return std::nullopt;
    return int(parsed);
}

bool isOn(const XmlReader& xml)
{
    return isOn(attribute(xml, QLatin1StringView("val")));
}

bool isOn(QStringView value)
{
    return !(value == u"0" || value == u"false" || value == u"off" || value == u"none");
}

std::optional<int> readBorders(XmlReader& xml)
{
    std::optional<int> widest;
    while (xml.readNextStartElement()) {
        const QStringView style = attribute(xml, QLatin1StringView("val"));
        // Eighths of a point.
        const int width = style == u"none" || style == u"nil"
                              ? 0
                              : number(xml, QLatin1StringView("sz")).value_or(4) * 5 / 2;
        widest = std::max(widest.value_or(0), width);
        xml.skipCurrentElement();
    }
    return widest;
}

void readLoosely(XmlReader& xml)
{
    xml.setNamespaceProcessing(false);
}

bool toRoot(XmlReader& xml)
{
    while (!xml.atEnd())
        if (xml.readNext() == XmlReader::StartElement)
            return true;
    return false;
}

} // namespace DocxXml
