#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

/// The relationships one part being written has, each target once, and their part (.rels).
class DocxRelations
{
public:
    /// The id of the relationship of type (e.g. "styles") to target, made on first asking.
    QString add(QStringView type, const QString& target, bool external = false);
    bool isEmpty() const { return m_relations.isEmpty(); }
    QByteArray xml() const;

private:
    struct Relation
    {
        QString type;
        QString target;
        bool external;
    };
    QList<Relation> m_relations;
    QHash<QString, int> m_byTarget;
};
