#include "formats/odt/OdtAutoStyles.h"

#include "formats/odt/OdtProperties.h"
#include "formats/odt/OdtXml.h"

#include "formats/base/XmlWriter.h"

QString OdtAutoStyles::nextName(QChar kind, qsizetype count) const
{
    return m_prefix + kind + QString::number(count + 1);
}

QString OdtAutoStyles::textStyle(int formatIndex, const QTextCharFormat& format)
{
    if (const auto found = m_textNames.constFind(formatIndex); found != m_textNames.constEnd())
        return *found;
    QString name;
    if (OdtProperties::hasText(format)) {
        name = nextName(u'T', qsizetype(m_texts.size()));
        m_texts.emplace_back(name, format);
    }
    m_textNames.insert(formatIndex, name);
    return name;
}

QString OdtAutoStyles::paragraphStyle(int formatIndex, const QTextBlockFormat& format,
                                      int charsIndex, const QTextCharFormat& chars,
                                      const QString& masterPage)
{
    // The paragraph that starts a page style is the only one of its style.
    const quint64 key = quint64(quint32(formatIndex)) << 32 | quint32(charsIndex + 1);
    if (const auto found = m_paragraphNames.constFind(key);
        masterPage.isEmpty() && found != m_paragraphNames.constEnd())
        return *found;
    const QString name = nextName(u'P', qsizetype(m_paragraphs.size()));
    m_paragraphs.push_back({name, format, charsIndex >= 0 ? chars : QTextCharFormat(), masterPage});
    if (masterPage.isEmpty())
        m_paragraphNames.insert(key, name);
    return name;
}

QString OdtAutoStyles::listStyle(const QTextListFormat& format, int level)
{
    for (const List& list : m_lists)
        if (list.level == level && list.format == format)
            return list.name;
    const QString name = nextName(u'L', qsizetype(m_lists.size()));
    m_lists.push_back({name, format, level});
    return name;
}

QString OdtAutoStyles::tableStyle(double width, double leftMargin, bool pageBreak)
{
    const QString name = nextName(u'B', qsizetype(m_tables.size()));
    m_tables.push_back({name, QStringLiteral("table"), width, leftMargin, 0, 0, pageBreak});
    return name;
}

QString OdtAutoStyles::columnStyle(double width)
{
    const QString key = QStringLiteral("column ") + QString::number(qRound(width));
    if (const auto found = m_tableNames.constFind(key); found != m_tableNames.constEnd())
        return *found;
    const QString name = nextName(u'C', qsizetype(m_tables.size()));
    m_tables.push_back({name, QStringLiteral("table-column"), width});
    m_tableNames.insert(key, name);
    return name;
}

QString OdtAutoStyles::cellStyle(double border, double padding)
{
    const QString key = QStringLiteral("cell ") + QString::number(qRound(border)) + u' ' +
                        QString::number(qRound(padding));
    if (const auto found = m_tableNames.constFind(key); found != m_tableNames.constEnd())
        return *found;
    const QString name = nextName(u'D', qsizetype(m_tables.size()));
    m_tables.push_back({name, QStringLiteral("table-cell"), 0, 0, border, padding});
    m_tableNames.insert(key, name);
    return name;
}

void OdtAutoStyles::write(XmlWriter& writer) const
{
    const auto start = [&](const QString& name, const QString& family) {
        writer.writeStartElement(QStringLiteral("style:style"));
        writer.writeAttribute(QStringLiteral("style:name"), name);
        writer.writeAttribute(QStringLiteral("style:family"), family);
    };
    for (const auto& [name, format] : m_texts) {
        start(name, QStringLiteral("text"));
        writer.writeStartElement(QStringLiteral("style:text-properties"));
        OdtProperties::writeText(writer, format);
        writer.writeEndElement();
        writer.writeEndElement();
    }
    for (const Paragraph& paragraph : m_paragraphs) {
        start(paragraph.name, QStringLiteral("paragraph"));
        if (!paragraph.masterPage.isEmpty())
            writer.writeAttribute(QStringLiteral("style:master-page-name"), paragraph.masterPage);
        OdtProperties::writeParagraph(writer, paragraph.format);
        if (OdtProperties::hasText(paragraph.chars)) {
            writer.writeStartElement(QStringLiteral("style:text-properties"));
            OdtProperties::writeText(writer, paragraph.chars);
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    for (const Table& table : m_tables)
        writeTable(writer, table);
    for (const List& list : m_lists) {
        writer.writeStartElement(QStringLiteral("text:list-style"));
        writer.writeAttribute(QStringLiteral("style:name"), list.name);
        for (int level = 1; level <= 10; ++level) {
            QTextListFormat format = list.format;
            format.setIndent(level);
            OdtProperties::writeListLevel(writer, format, level);
        }
        writer.writeEndElement();
    }
}

void OdtAutoStyles::writeTable(XmlWriter& writer, const Table& table) const
{
    writer.writeStartElement(QStringLiteral("style:style"));
    writer.writeAttribute(QStringLiteral("style:name"), table.name);
    writer.writeAttribute(QStringLiteral("style:family"), table.family);
    writer.writeStartElement(QStringLiteral("style:") + table.family +
                             QStringLiteral("-properties"));
    if (table.family == u"table") {
        if (table.width > 0)
            writer.writeAttribute(QStringLiteral("style:width"), OdtXml::length(table.width));
        writer.writeAttribute(QStringLiteral("table:align"),
                              table.width > 0 ? QStringLiteral("left") : QStringLiteral("margins"));
        // LibreOffice pulls a table left by the cell padding, so its text lines up with the
        // paragraphs around it.
        if (table.leftMargin != 0)
            writer.writeAttribute(QStringLiteral("fo:margin-left"),
                                  OdtXml::length(table.leftMargin));
        if (table.pageBreak)
            writer.writeAttribute(QStringLiteral("fo:break-before"), QStringLiteral("page"));
    } else if (table.family == u"table-column") {
        writer.writeAttribute(QStringLiteral("style:column-width"), OdtXml::length(table.width));
    } else {
        writer.writeAttribute(QStringLiteral("fo:padding"), OdtXml::length(table.padding));
        writer.writeAttribute(QStringLiteral("fo:border"),
                              table.border > 0
                                  ? OdtXml::length(table.border) + QStringLiteral(" solid #000000")
                                  : QStringLiteral("none"));
    }
    writer.writeEndElement();
    writer.writeEndElement();
}
