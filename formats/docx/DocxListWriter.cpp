#include "formats/docx/DocxListWriter.h"

#include "formats/base/TextProperties.h"
#include "formats/base/XmlWriter.h"
#include "formats/docx/DocxXml.h"

#include <QTextList>

#include <algorithm>

namespace {

// A level's text starts this far in per level, its marker hanging half of it before.
constexpr int s_indentStep = 720;

void writeValue(XmlWriter& xml, const QString& name, const QString& value)
{
    xml.writeEmptyElement(name);
    xml.writeAttribute(QStringLiteral("w:val"), value);
}

void writeLevel(XmlWriter& xml, int level, const std::optional<QTextListFormat>& given)
{
    QTextListFormat format = given.value_or(QTextListFormat());
    if (!given)
        format.setStyle(QTextListFormat::ListDecimal);
    xml.writeStartElement(QStringLiteral("w:lvl"));
    xml.writeAttribute(QStringLiteral("w:ilvl"), QString::number(level));
    writeValue(xml, QStringLiteral("w:start"),
               QString::number(format.hasProperty(TextProperties::ListStart)
                                   ? format.intProperty(TextProperties::ListStart)
                                   : 1));
    writeValue(xml, QStringLiteral("w:numFmt"), DocxNumbering::formatName(format.style()));
    writeValue(xml, QStringLiteral("w:lvlText"), DocxNumbering::levelText(format, level));
    writeValue(xml, QStringLiteral("w:lvlJc"), QStringLiteral("left"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    xml.writeEmptyElement(QStringLiteral("w:ind"));
    xml.writeAttribute(QStringLiteral("w:left"), QString::number(s_indentStep * (level + 1)));
    xml.writeAttribute(QStringLiteral("w:hanging"), QString::number(s_indentStep / 2));
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

int DocxListWriter::numberOf(const QTextList& list)
{
    const auto known = m_byList.constFind(&list);
    if (known != m_byList.constEnd())
        return *known;
    const QTextListFormat format = list.format();
    int number = 0;
    if (format.hasProperty(TextProperties::ListId))
        number = m_byId.value(format.intProperty(TextProperties::ListId));
    if (number == 0) {
        m_lists.append(Levels());
        m_formatIndexes.append(std::array<int, DocxNumbering::levelCount>());
        m_formatIndexes.back().fill(-1);
        number = int(m_lists.size());
        if (format.hasProperty(TextProperties::ListId))
            m_byId.insert(format.intProperty(TextProperties::ListId), number);
    }
    const auto place = size_t(std::clamp(format.indent() - 1, 0, DocxNumbering::levelCount - 1));
    std::optional<QTextListFormat>& level = m_lists[number - 1][place];
    if (!level) {
        level = format;
        m_formatIndexes[number - 1][place] = list.formatIndex();
    }
    m_byList.insert(&list, number);
    return number;
}

QByteArray DocxListWriter::xml() const
{
    // A level's markup, by its format's index and its place.
    QHash<std::pair<int, int>, QByteArray> levels;
    XmlWriter xml;
    xml.writeStartDocument(true);
    xml.writeStartElement(QStringLiteral("w:numbering"));
    xml.writeAttribute(QStringLiteral("xmlns:w"), QLatin1String(DocxXml::wordNamespace));
    for (qsizetype list = 0; list < m_lists.size(); ++list) {
        xml.writeStartElement(QStringLiteral("w:abstractNum"));
        xml.writeAttribute(QStringLiteral("w:abstractNumId"), QString::number(list));
        writeValue(xml, QStringLiteral("w:multiLevelType"), QStringLiteral("hybridMultilevel"));
        for (int level = 0; level < DocxNumbering::levelCount; ++level) {
            const std::pair key(m_formatIndexes[list][size_t(level)], level);
            auto found = levels.constFind(key);
            if (found == levels.constEnd()) {
                XmlWriter markup;
                writeLevel(markup, level, m_lists[list][size_t(level)]);
                found = levels.insert(key, markup.take());
            }
            xml.writeRaw(*found);
        }
        xml.writeEndElement();
    }
    for (qsizetype list = 0; list < m_lists.size(); ++list) {
        xml.writeStartElement(QStringLiteral("w:num"));
        xml.writeAttribute(QStringLiteral("w:numId"), QString::number(list + 1));
        writeValue(xml, QStringLiteral("w:abstractNumId"), QString::number(list));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return xml.take();
}
