#include "formats/FileStamp.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

qint64 modifiedNs(const struct stat& status)
{
    constexpr qint64 nsPerSecond = 1000000000;
    return qint64(status.st_mtim.tv_sec) * nsPerSecond + status.st_mtim.tv_nsec;
}

} // namespace

FileStamp::FileStamp(const struct stat& status, const QByteArray& hash)
    : m_size(status.st_size), m_modifiedNs(modifiedNs(status)), m_hash(hash)
{
}

FileStamp FileStamp::written(const QString& path, QByteArrayView content)
{
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return FileStamp(status, QCryptographicHash::hash(content, algorithm));
}

FileStamp::Change FileStamp::compare(const QString& path) const
{
    if (!isKnown())
        return Change::None;
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        // Where the file cannot even be looked at, writing it says why.
        return errno == ENOENT || errno == ENOTDIR ? Change::Missing : Change::None;
    if (!S_ISREG(status.st_mode) || status.st_size != m_size)
        return Change::Changed;
    if (modifiedNs(status) == m_modifiedNs)
        return Change::None;
    QFile file(path);
    QCryptographicHash hash(algorithm);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return Change::Changed;
    return hash.result() == m_hash ? Change::None : Change::Changed;
}
