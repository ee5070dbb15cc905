#pragma once

#include "formats/base/Numbering.h"

#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

class XmlAttributes;
class XmlReader;
class XmlWriter;

/// How Qt's formats stand in OpenDocument's style properties, both ways, so reading and
/// writing agree on every property in one place.
namespace OdtProperties {

/// Font family names by the font face names styles use.
using FontFaces = QHash<QString, QString>;

/// Adds what a style:text-properties element says to format.
void readText(const XmlAttributes& attributes, const FontFaces& faces, QTextCharFormat& format);
/// Whether format sets anything writeText() writes.
bool hasText(const QTextCharFormat& format);
/// The attributes of a style:text-properties element for what format sets.
void writeText(XmlWriter& writer, const QTextCharFormat& format);

/// Adds what a style:paragraph-properties element says to format, reading its tab stops too.
void readParagraph(XmlReader& reader, QTextBlockFormat& format);
/// A style:paragraph-properties element for what format sets. Writers name elements and
/// attributes with ODF's usual prefixes, which the part's root declares.
void writeParagraph(XmlWriter& writer, const QTextBlockFormat& format);

/// The format of one level of a text:list-style, read from its text:list-level-style-*
/// element; level counts from 1.
QTextListFormat readListLevel(XmlReader& reader, int level);
/// A text:list-level-style-* element for format at level.
void writeListLevel(XmlWriter& writer, const QTextListFormat& format, int level);

/// numbering, with what a text:notes-configuration element gives in place of its own.
Numbering readNotesNumbering(const XmlAttributes& attributes, Numbering numbering);
/// A text:notes-configuration element for footnotes or endnotes numbered as numbering.
void writeNotesConfiguration(XmlWriter& writer, bool endnotes, const Numbering& numbering);

/// A font family as ODF quotes it, and back.
QString quotedFamily(const QString& family);
QString unquotedFamily(QStringView family);

} // namespace OdtProperties
