#pragma once

#include "formats/base/XmlReader.h"
#include <QStringView>

#include <optional>

/// What reading and writing Word's XML parts share: the namespaces and relationship types
/// written, and attribute look-ups that go by local name, so transitional and strict files read
/// alike.
namespace DocxXml {

/// The character style of seed words, as Word names "Seed Text".
inline constexpr auto seedTextStyle = "SeedText";
inline constexpr auto wordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr auto relationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr auto packageRelationshipNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";

/// The value of the attribute named name, in whatever namespace; null when there is none.
QStringView attribute(const XmlReader& xml, QLatin1StringView name);
QStringView attribute(const XmlAttributes& attributes, QLatin1StringView name);
/// A whole-number attribute; nothing when absent or not a number.
std::optional<int> number(const XmlReader& xml, QLatin1StringView name);
/// A toggle such as <w:b/>: on unless its value says off.
bool isOn(const XmlReader& xml);
bool isOn(QStringView value);
/// The widest of the borders the children of the element xml is in give (tblBorders,
/// tcBorders), in twips; nothing when none is given.
std::optional<int> readBorders(XmlReader& xml);
/// A reader of data that goes by local names alone: some writers leave a prefix undeclared,
/// which Word and LibreOffice pass over.
void readLoosely(XmlReader& xml);
/// Moves xml to its root element; false when the part has none.
bool toRoot(XmlReader& xml);
} // namespace DocxXml
