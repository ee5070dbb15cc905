#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QLockFile;

/// The recovery folder: copies of unsaved documents that outlive a crash or a power cut.
///
/// Each running instance holds a lock file of its own and tags its copies with it, so an
/// instance only ever claims the copies of instances whose lock is gone or stale.
class RecoveryStore
{
public:
    /// One document's copy: its place in the list, its name and its content as RTF.
    struct Copy
    {
        int index = 0;
        QString name;
        bool isFilePath = false;
        QByteArray rtf;
        /// A later write of this copy failed: the document had changes the copy misses.
        bool stale = false;
    };

    /// What instances that are gone left behind: readable copies in list order, and how many
    /// copies could not be read.
    struct Orphans
    {
        QList<Copy> copies;
        int unreadable = 0;
    };

    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    /// The folder the program uses: "recovery" in the per-user data folder, or in dataDir.
    static QString folderFor(const QString& dataDir);

    /// Creates the folder and takes this instance's lock; false with errorString() when
    /// either fails.
    bool open();
    bool isOpen() const { return bool(m_lock); }
    QString folder() const { return m_folder; }

    /// Replaces the copy of document copy.index only once all of it is written; on failure
    /// the previous copy keeps its text, is marked stale, and the result is false.
    bool write(const Copy& copy);
    /// Why the last open() or write() failed, as a sentence.
    QString errorString() const { return m_errorString; }
    /// Removes this instance's copy of document index.
    void remove(int index);
    /// Removes every copy of this instance.
    void removeAll();

    /// Claims the copies of every instance that is gone; they stay claimed until dropClaimed().
    Orphans claimOrphans();
    /// Deletes the claimed copies and the dead instances' locks.
    void dropClaimed();

    /// The bytes of a copy on disk: a short header with a checksum, then the RTF.
    static QByteArray header(const Copy& copy);
    /// Reads a copy back; nothing when it is truncated, damaged or not a copy at all.
    static std::optional<Copy> decode(const QByteArray& data);

private:
    bool makeFolder();
    QString copyPath(const QString& owner, int index) const;
    QString lockPath(const QString& owner) const;
    QStringList copiesOf(const QString& owner) const;

    QString m_folder;
    QString m_owner;
    QString m_errorString;
    std::unique_ptr<QLockFile> m_lock;
    QStringList m_claimedOwners;
    std::vector<std::unique_ptr<QLockFile>> m_claimedLocks;
};
