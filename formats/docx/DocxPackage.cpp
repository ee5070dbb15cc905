#include "formats/docx/DocxPackage.h"

#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <zlib.h>

#include <algorithm>

namespace {

// Real documents compress text about tenfold; a part that inflates far beyond that, and beyond
// a margin small files need, is a bomb.
constexpr qint64 s_maxRatio = 200;
constexpr qint64 s_sizeMargin = 64 << 20;
constexpr qint64 s_readStep = 1 << 16;

QString tr(const char* text)
{
    return QCoreApplication::translate("DocxReader", text);
}

// The folder part lies in, as relationships resolve their targets from it.
QString folderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.first(slash + 1);
}

// The part a relative or absolute target names, or nothing when it leaves the package.
QString resolve(const QString& folder, QStringView target)
{
    const QString path =
        target.startsWith(u'/') ? target.sliced(1).toString() : folder + target.toString();
    const QString clean = QDir::cleanPath(path);
    if (clean.startsWith(QLatin1String("../")) || clean == QLatin1String("..") ||
        clean.startsWith(u'/'))
        return {};
    return clean;
}

} // namespace

DocxPackage::DocxPackage() = default;
DocxPackage::~DocxPackage() = default;

bool DocxPackage::open(const QByteArray& data)
{
    m_data = data;
    m_buffer.setBuffer(&m_data);
    m_zip = std::make_unique<QuaZip>(&m_buffer);
    if (!m_zip->open(QuaZip::mdUnzip)) {
        m_error = tr("it is not a complete zip package, as Word files are: it may be damaged or "
                     "cut short");
        return false;
    }
    if (m_zip->getEntriesCount() > maxParts) {
        m_error = tr("it holds more than %1 parts, more than any document needs").arg(maxParts);
        return false;
    }
    m_limit = std::min(maxPartSize, data.size() * s_maxRatio + s_sizeMargin);
    for (const QuaZipFileInfo64& info : m_zip->getFileInfoList64()) {
        if (info.isEncrypted()) {
            m_error = tr("it is protected by a password; open it in the program that made it "
                         "and save it without one");
            return false;
        }
        m_sizes.insert(info.name, qint64(info.uncompressedSize));
    }
    return true;
}

std::optional<QByteArray> DocxPackage::read(const QString& part)
{
    const auto size = m_sizes.constFind(part);
    if (size == m_sizes.constEnd()) {
        m_error = tr("its part %1 is missing").arg(part);
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(std::min(*size, m_limit) + 1);
    if (*size > m_limit || !m_zip->setCurrentFile(part, QuaZip::csSensitive) ||
        !inflate(bytes, m_limit)) {
        m_error = *size > m_limit ? tr("its part %1 unpacks to more than any document holds: "
                                       "it may be made to fill the memory")
                                        .arg(part)
                                  : tr("its part %1 is damaged").arg(part);
        return std::nullopt;
    }
    return bytes;
}

// The sizes a zip states may lie, so the inflated bytes are counted as they come.
bool DocxPackage::inflate(QByteArray& bytes, qint64 limit)
{
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (true) {
        const qsizetype done = bytes.size();
        bytes.resize(done + s_readStep);
        const qint64 got = file.read(bytes.data() + done, s_readStep);
        if (got < 0)
            return false;
        bytes.truncate(done + got);
        if (got == 0)
            break;
        if (bytes.size() > limit)
            return false;
    }
    file.close();
    return file.getZipError() == UNZ_OK;
}

DocxRelationships DocxPackage::relationships(const QString& part)
{
    const QString folder = folderOf(part);
    const QString name =
        folder + QLatin1String("_rels/") + part.sliced(folder.size()) + QLatin1String(".rels");
    DocxRelationships relationships;
    const std::optional<QByteArray> bytes = contains(name) ? read(name) : std::nullopt;
    if (!bytes)
        return relationships;
    XmlReader xml(*bytes);
    DocxXml::readLoosely(xml);
    if (!DocxXml::toRoot(xml))
        return relationships;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Relationship")) {
            DocxRelationship relationship;
            relationship.type = DocxXml::attribute(xml, QLatin1StringView("Type")).toString();
            relationship.external = DocxXml::attribute(xml, QLatin1StringView("TargetMode")) ==
                                    QLatin1String("External");
            const QStringView target = DocxXml::attribute(xml, QLatin1StringView("Target"));
            relationship.target =
                relationship.external ? target.toString() : resolve(folder, target);
            if (!relationship.target.isEmpty())
                relationships.insert(DocxXml::attribute(xml, QLatin1StringView("Id")).toString(),
                                     relationship);
        }
        xml.skipCurrentElement();
    }
    return relationships;
}

QByteArray DocxPackage::zip(const QList<std::pair<QString, DeflatedPart>>& parts)
{
    QByteArray data;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    // A fixed time, so the same document always makes the same bytes.
    const QDateTime time(QDate(1980, 1, 1), QTime(0, 0));
    for (const auto& [name, part] : parts)
        PartDeflater::write(zip, name, time, part);
    zip.close();
    return data;
}
