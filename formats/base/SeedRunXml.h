#pragma once

#include <QString>
#include <QtGlobal>

#include <unordered_map>

class QTextCharFormat;
class XmlAttributes;
class XmlWriter;

/// What an XML file keeps of a seed run beside its character style: the run's number in the
/// file, and its length, words and paragraph breaks when written (TextProperties), as
/// attributes in a namespace of our own, which other programs pass over.
class SeedRunXml
{
public:
    static const QString namespaceUri;
    static const QString prefix;

    /// Writes the numbers format carries as attributes of the element just started.
    static void write(XmlWriter& xml, const QTextCharFormat& format);
    /// Marks format as seed text of the run attributes name, numbered anew in each reading;
    /// false, format untouched, when they name none. A reader that leaves namespaces to the
    /// names finds them by our prefix.
    bool read(const XmlAttributes& attributes, QTextCharFormat& format);

private:
    std::unordered_map<qint64, qint64> m_runs;
};
