#pragma once

#include "formats/base/XmlReader.h"
#include <QString>
#include <QStringView>

#include <optional>

/// The namespaces of OpenDocument's XML, the lengths it writes, and the checks every part's
/// reader shares.
namespace OdtXml {

inline const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
inline const QString style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
inline const QString text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
inline const QString table = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
inline const QString draw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
inline const QString fo =
    QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
inline const QString svg =
    QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
inline const QString meta = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0");
inline const QString manifest =
    QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
inline const QString xlink = QStringLiteral("http://www.w3.org/1999/xlink");
inline const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");

/// The character style of seed words, as ODF names "Seed Text".
inline const QString seedTextStyle = QStringLiteral("Seed_20_Text");

/// Deeper than documents from office suites nest their elements; deeper files are refused
/// rather than walked, as the HTML reader flattens such pages.
constexpr int saneDepth = 256;

/// Whether the reader stands on the start of element name in namespace.
inline bool is(const XmlReader& reader, const QString& ns, QStringView name)
{
    return reader.name() == name && reader.namespaceUri() == ns;
}

/// The value of attribute name in namespace, empty when there is none.
inline QStringView value(const XmlAttributes& attributes, const QString& ns, QStringView name)
{
    for (const XmlAttribute& attribute : attributes)
        if (attribute.name() == name && attribute.namespaceUri() == ns)
            return attribute.value();
    return {};
}

inline QStringView attribute(const XmlReader& reader, const QString& ns, QStringView name)
{
    return value(reader.attributes(), ns, name);
}

/// A length as ODF writes it ("2.54cm", "12pt", "1in"), in twips; nothing for a length in
/// another unit, a percentage or no length at all.
std::optional<double> twips(QStringView length);
/// twips as a length ODF reads, in points.
QString length(double twips);

} // namespace OdtXml
