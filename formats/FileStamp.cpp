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
    : m_known(true), m_size(status.st_size), m_modifiedNs(modifiedNs(status)), m_hash(hash)
{
}

// Hashing what Save wrote would cost more than writing it; the bytes are shared with the
// document's saved state, and compared only in the rare case of a new time on the same size.
FileStamp FileStamp::written(const QString& path, const QByteArray& content)
{
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    FileStamp stamp(status, {});
    stamp.m_content = content;
    return stamp;
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
    return file.open(QIODevice::ReadOnly) && holdsSameBytes(file) ? Change::None : Change::Changed;
}

bool FileStamp::holdsSameBytes(QFile& file) const
{
    if (m_hash.isEmpty())
        return file.readAll() == m_content;
    QCryptographicHash hash(algorithm);
    return hash.addData(&file) && hash.result() == m_hash;
}
