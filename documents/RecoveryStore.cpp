#include "documents/RecoveryStore.h"

#include "formats/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

const QByteArray magic = QByteArrayLiteral("Quillmere recovery 2");
// Copies left by a version that could not mark a copy stale: still worth restoring.
const QByteArray firstMagic = QByteArrayLiteral("Quillmere recovery 1");
// Right after the magic, so the stale mark is one byte at a known place.
const QByteArray staleKey = QByteArrayLiteral("\nstale ");
const QString copySuffix = QStringLiteral(".recovery");
const QString lockSuffix = QStringLiteral(".lock");
// A copy that cannot be read is kept aside under this suffix instead of being offered again.
const QString unreadableSuffix = QStringLiteral(".unreadable");
constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

QByteArray checksum(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

/// The owner of a copy named "<owner>-<index>.recovery"; owners are UUIDs with dashes.
QString ownerOfCopy(const QString& fileName)
{
    const QString base = fileName.chopped(copySuffix.size());
    return base.left(base.lastIndexOf(QLatin1Char('-')));
}

/// A lock file that a power cut left empty or garbled names no owner that could be alive.
/// A starting instance's lock is empty for a moment too, so only an old one counts.
bool takeUnreadable(QLockFile& lock, const QString& path)
{
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock.error() != QLockFile::LockFailedError || lock.getLockInfo(&pid, &host, &app))
        return false;
    const QDateTime written = QFileInfo(path).lastModified();
    if (!written.isValid() || written.secsTo(QDateTime::currentDateTime()) < 60)
        return false;
    return lock.removeStaleLockFile() && lock.tryLock(0);
}

/// Marks the copy at path as missing its document's last changes. On a full disk nothing new
/// can be written, but a byte of a file already there can still change in place.
void markStale(const QString& path)
{
    QFile file(path);
    const QByteArray mark = magic + staleKey;
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered) &&
        file.read(mark.size() + 1) == mark + '0' && file.seek(mark.size()))
        file.write("1", 1);
}

QString translated(const char* text)
{
    return QCoreApplication::translate("RecoveryStore", text);
}

QString systemReason(const std::error_code& error)
{
    return QString::fromLocal8Bit(error.message());
}

} // namespace

RecoveryStore::RecoveryStore(const QString& folder)
    : m_folder(folder), m_owner(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::folderFor(const QString& dataDir)
{
    return QDir(DataFolder::path(dataDir)).filePath(QStringLiteral("recovery"));
}

bool RecoveryStore::open()
{
    if (m_lock)
        return true;
    if (!makeFolder())
        return false;
    auto lock = std::make_unique<QLockFile>(lockPath(m_owner));
    // The lock is held for the whole run; it must never count as stale while we live.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // QLockFile keeps the system's reason to itself; a write it could not finish is, in
        // practice, a full disk.
        m_errorString =
            lock->error() == QLockFile::PermissionError
                ? systemReason(std::make_error_code(std::errc::permission_denied))
                : translated("Its lock file could not be written; the disk may be full");
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

bool RecoveryStore::makeFolder()
{
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir()) {
        m_errorString = translated("A file is in the folder's place");
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(m_folder).toStdString(), error);
    if (error) {
        m_errorString = systemReason(error);
        return false;
    }
    // The copies hold the user's unsaved text: only the user may read them, as with an
    // editor's swap files, and a folder made by an older version is tightened.
    QFile folder(m_folder);
    if (!folder.setPermissions(ownerOnly | QFile::ExeOwner)) {
        m_errorString = folder.errorString();
        return false;
    }
    return true;
}

QString RecoveryStore::copyPath(const QString& owner, int index) const
{
    return QDir(m_folder).filePath(owner + QLatin1Char('-') + QString::number(index) + copySuffix);
}

QString RecoveryStore::lockPath(const QString& owner) const
{
    return QDir(m_folder).filePath(owner + lockSuffix);
}

QStringList RecoveryStore::copiesOf(const QString& owner) const
{
    QStringList paths;
    const QDir dir(m_folder);
    for (const QString& name :
         dir.entryList({owner + QLatin1String("-*") + copySuffix}, QDir::Files))
        if (ownerOfCopy(name) == owner)
            paths << dir.filePath(name);
    return paths;
}

QByteArray RecoveryStore::header(const Copy& copy)
{
    return magic + staleKey + (copy.stale ? "1" : "0") + "\nindex " +
           QByteArray::number(copy.index) + "\npath " + (copy.isFilePath ? "1" : "0") + "\nname " +
           copy.name.toUtf8().toPercentEncoding() + "\nsize " +
           QByteArray::number(copy.rtf.size()) + "\nmd5 " + checksum(copy.rtf) + "\n\n";
}

bool RecoveryStore::write(const Copy& copy)
{
    if (!m_lock)
        return false;
    const QString path = copyPath(m_owner, copy.index);
    if (AtomicFile::write(path, {header(copy), copy.rtf}, &m_errorString, ownerOnly))
        return true;
    markStale(path);
    return false;
}

void RecoveryStore::remove(int index)
{
    QFile::remove(copyPath(m_owner, index));
}

void RecoveryStore::removeAll()
{
    for (const QString& path : copiesOf(m_owner))
        QFile::remove(path);
}

std::optional<RecoveryStore::Copy> RecoveryStore::decode(const QByteArray& data)
{
    const qsizetype end = data.indexOf("\n\n");
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = data.left(end).split('\n');
    const qsizetype first = lines[0] == magic ? 2 : lines[0] == firstMagic ? 1 : -1;
    if (first < 0 || lines.size() != first + 5 ||
        (first == 2 && lines[1] != "stale 0" && lines[1] != "stale 1"))
        return std::nullopt;
    QList<QByteArray> values;
    const char* const keys[] = {"index ", "path ", "name ", "size ", "md5 "};
    for (int i = 0; i < 5; ++i) {
        if (!lines[first + i].startsWith(keys[i]))
            return std::nullopt;
        values << lines[first + i].mid(qstrlen(keys[i]));
    }
    bool indexOk = false;
    bool sizeOk = false;
    Copy copy;
    copy.index = values[0].toInt(&indexOk);
    const qsizetype size = values[3].toLongLong(&sizeOk);
    copy.rtf = data.mid(end + 2);
    if (!indexOk || copy.index < 0 || (values[1] != "0" && values[1] != "1") || !sizeOk ||
        size != copy.rtf.size() || checksum(copy.rtf) != values[4])
        return std::nullopt;
    copy.isFilePath = values[1] == "1";
    copy.stale = first == 2 && lines[1] == "stale 1";
    copy.name = QString::fromUtf8(QByteArray::fromPercentEncoding(values[2]));
    if (copy.name.isEmpty())
        return std::nullopt;
    return copy;
}

RecoveryStore::Orphans RecoveryStore::claimOrphans()
{
    const QDir dir(m_folder);
    QSet<QString> owners;
    for (const QString& name : dir.entryList({QLatin1Char('*') + copySuffix}, QDir::Files))
        owners.insert(ownerOfCopy(name));
    for (const QString& name : dir.entryList({QLatin1Char('*') + lockSuffix}, QDir::Files))
        owners.insert(name.chopped(lockSuffix.size()));
    owners.remove(m_owner);

    Orphans orphans;
    for (const QString& owner : owners) {
        if (owner.isEmpty() || m_claimedOwners.contains(owner))
            continue;
        const QString lockFile = lockPath(owner);
        auto lock = std::make_unique<QLockFile>(lockFile);
        // Only a dead process makes a lock stale: a long-running instance keeps its copies.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0) && !takeUnreadable(*lock, lockFile))
            continue;
        m_claimedOwners << owner;
        m_claimedLocks.push_back(std::move(lock));
        const qsizetype first = orphans.copies.size();
        for (const QString& path : copiesOf(owner)) {
            QFile file(path);
            std::optional<Copy> copy;
            if (file.open(QIODevice::ReadOnly))
                copy = decode(file.readAll());
            if (copy) {
                orphans.copies << *copy;
                continue;
            }
            ++orphans.unreadable;
            file.close();
            QFile::remove(path + unreadableSuffix);
            QFile::rename(path, path + unreadableSuffix);
        }
        // Each instance's documents come back in the order of its list.
        std::sort(orphans.copies.begin() + first, orphans.copies.end(),
                  [](const Copy& a, const Copy& b) { return a.index < b.index; });
    }
    return orphans;
}

void RecoveryStore::dropClaimed()
{
    for (const QString& owner : std::as_const(m_claimedOwners))
        for (const QString& path : copiesOf(owner))
            QFile::remove(path);
    // Unlocking removes each dead instance's lock file.
    m_claimedLocks.clear();
    m_claimedOwners.clear();
}
