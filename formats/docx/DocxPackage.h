#pragma once

#include "formats/base/PartDeflater.h"

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class QuaZip;

/// One relationship of a part: what kind it is and the part or address it points to.
struct DocxRelationship
{
    QString type;
    /// The part's name inside the package, or an address outside it when external.
    QString target;
    bool external = false;
    /// Whether type is the relationship type of that name, e.g. "styles", in either flavour.
    bool is(QStringView name) const { return type.endsWith(u'/' + name.toString()); }
};
using DocxRelationships = QHash<QString, DocxRelationship>;

/// A Word file's zip package, read part by part with bounds that keep a hostile file from
/// taking memory or time: a part inflates to no more than the file could honestly hold, and a
/// package holds no more parts than any document needs.
class DocxPackage
{
public:
    static constexpr int maxParts = 10000;
    static constexpr qint64 maxPartSize = qint64(1) << 30;

    DocxPackage();
    ~DocxPackage();

    /// Opens data as a zip package; false, with error(), when it is none or holds too much.
    bool open(const QByteArray& data);
    QString error() const { return m_error; }
    bool contains(const QString& part) const { return m_sizes.contains(part); }
    /// The part's bytes; nothing, with error(), when it is missing, damaged or too large.
    std::optional<QByteArray> read(const QString& part);
    /// The relationships of part ("" for the package's own), targets resolved to part names;
    /// a target that leaves the package's folders is dropped.
    DocxRelationships relationships(const QString& part);

    /// A zip package of parts, in their order.
    static QByteArray zip(const QList<std::pair<QString, DeflatedPart>>& parts);

private:
    bool inflate(QByteArray& bytes, qint64 limit);

    QByteArray m_data;
    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    QHash<QString, qint64> m_sizes;
    qint64 m_limit = 0;
    QString m_error;
};
