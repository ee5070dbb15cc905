#pragma once

#include <QString>

/// Real file-system trouble for save tests: a small tmpfs that fills up, or a read-only one.
///
/// Mounting needs privileges; where the test may not mount, a full disk is imitated by a
/// file-size limit, which makes the system cut a large write short just as a full disk does.
/// A device that takes writes in parts, as network and user-space file systems may, is imitated
/// in this process's own calls to write().
class FileSystemFaults
{
public:
    explicit FileSystemFaults(const QString& folder);
    ~FileSystemFaults();
    FileSystemFaults(const FileSystemFaults&) = delete;
    FileSystemFaults& operator=(const FileSystemFaults&) = delete;

    /// Mounts a tmpfs of the given size at the folder; false when this process may not mount.
    bool mountSmall(int kilobytes);
    /// Fills the mounted tmpfs to its last byte with a hidden file.
    void fill();
    /// Turns the mounted tmpfs read-only.
    bool makeReadOnly();
    /// Without a mount, limits every file this process writes to the given size.
    void limitFileSize(qint64 bytes);
    /// Makes every write to a file in the folder take at most the given number of bytes; the
    /// call after one cut short writes nothing and asks to be tried again (EAGAIN).
    void takeWritesInParts(qint64 bytes);

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_limited = false;
    bool m_inParts = false;
    unsigned long long m_oldLimit = 0;
};
