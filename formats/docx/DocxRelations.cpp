#include "formats/docx/DocxRelations.h"

#include "formats/docx/DocxXml.h"

#include <QXmlStreamWriter>

namespace {

QString idOf(qsizetype index)
{
    return QStringLiteral("rId") + QString::number(index + 1);
}

} // namespace

QString DocxRelations::add(QStringView type, const QString& target, bool external)
{
    const QString key = type.toString() + u' ' + target;
    const auto found = m_byTarget.constFind(key);
    if (found != m_byTarget.constEnd())
        return idOf(*found);
    m_byTarget.insert(key, int(m_relations.size()));
    m_relations.append({type.toString(), target, external});
    return idOf(m_relations.size() - 1);
}

QByteArray DocxRelations::xml() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("Relationships"));
    xml.writeDefaultNamespace(QLatin1String(DocxXml::packageRelationshipNamespace));
    for (qsizetype index = 0; index < m_relations.size(); ++index) {
        const Relation& relation = m_relations[index];
        xml.writeStartElement(QStringLiteral("Relationship"));
        xml.writeAttribute(QStringLiteral("Id"), idOf(index));
        // Package-level relationships live under another address than the document's.
        const bool package = relation.type == u"metadata/core-properties";
        xml.writeAttribute(
            QStringLiteral("Type"),
            (package
                 ? QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/")
                 : QLatin1String(DocxXml::relationshipNamespace) + u'/') +
                relation.type);
        xml.writeAttribute(QStringLiteral("Target"), relation.target);
        if (relation.external)
            xml.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}
