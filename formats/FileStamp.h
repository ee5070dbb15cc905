#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>

class QFile;
struct stat;

/// What a file held when the program last read or wrote it: its size, when it was last
/// modified, and its bytes, as a hash of those read or as those written, which the document
/// keeps anyway. Another program that writes the file changes its time, and its size or its
/// bytes; a stamp that knows no file finds every file unchanged.
class FileStamp
{
public:
    enum class Change {
        None,    ///< the file holds what it held
        Changed, ///< another program wrote it, or put something else in its place
        Missing, ///< nothing is there any more
    };

    /// How the bytes of a file are hashed.
    static constexpr QCryptographicHash::Algorithm algorithm = QCryptographicHash::Sha1;

    /// A stamp that knows no file.
    FileStamp() = default;
    /// A file with this status, taken before its bytes were read, whose bytes hash to hash: a
    /// program that writes it while it is read leaves it changed.
    FileStamp(const struct stat& status, const QByteArray& hash);
    /// The file at path, just written with content.
    static FileStamp written(const QString& path, const QByteArray& content);

    bool isKnown() const { return m_known; }
    /// How the file at path differs from the stamped one. Its bytes are read only when its size
    /// is the same and its time is not, as after a program saved it unchanged.
    Change compare(const QString& path) const;

private:
    /// Whether the file's bytes match the stamp's, hashed or whole.
    bool holdsSameBytes(QFile& file) const;

    bool m_known = false;
    qint64 m_size = 0;
    qint64 m_modifiedNs = 0;
    QByteArray m_hash;
    QByteArray m_content;
};
