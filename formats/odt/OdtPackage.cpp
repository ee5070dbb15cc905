#include "formats/odt/OdtPackage.h"

#include <QCoreApplication>
#include <QDateTime>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace {

// A zip entry's flag for traditional zip encryption.
constexpr quint16 s_encryptedFlag = 1;
constexpr qint64 s_readStep = 1 << 16;

QString tr(const char* text)
{
    return QCoreApplication::translate("OdtReader", text);
}

bool isOutside(const QString& name)
{
    return name.startsWith(u'/') || name.startsWith(u'\\') || name.contains(u':') ||
           name.split(u'/').contains(QStringLiteral(".."));
}

} // namespace

OdtPackage::OdtPackage(const QByteArray& data) : m_zip(std::make_unique<QuaZip>(&m_buffer))
{
    m_buffer.setData(data);
    if (!m_zip->open(QuaZip::mdUnzip)) {
        m_error = tr("it is not a complete zip package; it may be damaged or cut short");
        return;
    }
    m_error = check();
}

OdtPackage::~OdtPackage() = default;

QString OdtPackage::check()
{
    if (m_zip->getEntriesCount() > maxParts)
        return tr("it holds more than %1 parts, more than any document has").arg(maxParts);
    QuaZipFileInfo64 info;
    for (bool more = m_zip->goToFirstFile(); more; more = m_zip->goToNextFile()) {
        if (!m_zip->getCurrentFileInfo(&info))
            return tr("its list of parts is damaged");
        if (isOutside(info.name))
            return tr("it names a part outside the document (%1)").arg(info.name);
        if (info.flags & s_encryptedFlag)
            return tr("it is protected by a password; open it in LibreOffice and save it "
                      "without one");
    }
    if (m_zip->getZipError() != UNZ_OK)
        return tr("its list of parts is damaged");
    return {};
}

bool OdtPackage::contains(const QString& name)
{
    return m_zip->isOpen() && m_zip->setCurrentFile(name);
}

QByteArray OdtPackage::read(const QString& name)
{
    if (!m_zip->isOpen() || !m_zip->setCurrentFile(name)) {
        m_error = tr("its part %1 is missing").arg(name);
        return {};
    }
    QuaZipFileInfo64 info;
    if (!m_zip->getCurrentFileInfo(&info)) {
        m_error = tr("its part %1 is damaged").arg(name);
        return {};
    }
    return readCurrent(qint64(info.uncompressedSize), name);
}

// The declared size is checked first, and the inflated bytes counted as well, since a crafted
// package may declare less than it holds.
QByteArray OdtPackage::readCurrent(qint64 declaredSize, const QString& name)
{
    const qint64 room = std::min(maxPartSize, maxTotalSize - m_inflated);
    const QString tooLarge = tr("its part %1 inflates to more than %2 MB, more than any "
                                "document needs; it may be a zip bomb")
                                 .arg(name)
                                 .arg(room >> 20);
    if (declaredSize < 0 || declaredSize > room) {
        m_error = tooLarge;
        return {};
    }
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = tr("its part %1 is damaged").arg(name);
        return {};
    }
    QByteArray bytes;
    bytes.reserve(declaredSize);
    while (!file.atEnd()) {
        const QByteArray step = file.read(std::min(s_readStep, room + 1 - bytes.size()));
        if (step.isEmpty())
            break;
        bytes.append(step);
        if (bytes.size() > room) {
            m_error = tooLarge;
            return {};
        }
    }
    file.close();
    if (file.getZipError() != UNZ_OK) {
        m_error = tr("its part %1 is damaged").arg(name);
        return {};
    }
    m_inflated += bytes.size();
    return bytes;
}

OdtPackageWriter::OdtPackageWriter(const QByteArray& mimeType)
    : m_buffer(&m_data), m_zip(std::make_unique<QuaZip>(&m_buffer))
{
    // Sizes go in the local headers, as readers that stream a package expect of the mimetype.
    m_zip->setDataDescriptorWritingEnabled(false);
    m_failed = !m_zip->open(QuaZip::mdCreate);
    if (m_failed)
        return;
    QuaZipFile file(m_zip.get());
    QuaZipNewInfo info(QStringLiteral("mimetype"));
    info.dateTime = QDateTime::currentDateTime();
    m_failed = !file.open(QIODevice::WriteOnly, info, nullptr, 0, 0, 0) ||
               file.write(mimeType) != mimeType.size();
    file.close();
    m_failed = m_failed || file.getZipError() != ZIP_OK;
}

OdtPackageWriter::~OdtPackageWriter() = default;

void OdtPackageWriter::add(const QString& name, const QByteArray& data)
{
    add(name, PartDeflater::deflate(data));
}

void OdtPackageWriter::add(const QString& name, const DeflatedPart& part)
{
    m_failed = m_failed || !PartDeflater::write(*m_zip, name, QDateTime::currentDateTime(), part);
}

QByteArray OdtPackageWriter::finish()
{
    m_zip->close();
    if (m_failed || m_zip->getZipError() != ZIP_OK)
        return {};
    return m_data;
}
