#include "spelling/PersonalDictionary.h"

#include "formats/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <algorithm>

namespace {

// Long enough for another instance to finish its own addition, short enough to give up on
// a lock that stays.
constexpr int lockWaitMs = 5000;

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

/// Calls take with each line of bytes that holds more than spaces, trimmed.
template <class Take> void forEachLine(QByteArrayView bytes, Take take)
{
    for (qsizetype start = 0; start < bytes.size();) {
        const auto newline = std::find_if(bytes.begin() + start, bytes.end(), isLineBreak);
        const qsizetype end = newline - bytes.begin();
        if (const QByteArrayView line = bytes.sliced(start, end - start).trimmed(); !line.isEmpty())
            take(line);
        start = end + 1;
    }
}

/// The line ending the list already uses, so what is added reads as the rest does.
QByteArray lineEndingOf(QByteArrayView bytes)
{
    const qsizetype at = std::find_if(bytes.begin(), bytes.end(), isLineBreak) - bytes.begin();
    if (at == bytes.size() || bytes[at] == '\n')
        return QByteArrayLiteral("\n");
    return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                          : QByteArrayLiteral("\r");
}

bool isLatin1(const QString& word)
{
    return std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.unicode() <= 0xff; });
}

QString tr(const char* text)
{
    return QCoreApplication::translate("PersonalDictionary", text);
}

/// Why lock could not be taken, in words for the writer.
QString lockFailure(const QLockFile& lock, const QString& folder)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return tr("another program has kept it locked for more than %1 seconds")
            .arg(lockWaitMs / 1000);
    case QLockFile::PermissionError:
        return tr("there is no permission to write in the folder %1")
            .arg(QDir::toNativeSeparators(folder));
    default:
        return tr("its lock file cannot be made in the folder %1")
            .arg(QDir::toNativeSeparators(folder));
    }
}

} // namespace

PersonalDictionary::PersonalDictionary(const QString& dataDir) : m_dataDir(dataDir) {}

QString PersonalDictionary::path() const
{
    return QDir(DataFolder::path(m_dataDir)).filePath(QStringLiteral("dictionary.txt"));
}

PersonalDictionary::Contents PersonalDictionary::read() const
{
    Contents contents;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return contents;
    contents.fileSize = file.size();
    const bool tooLong = contents.fileSize > mostBytes;
    if (tooLong)
        file.seek(contents.fileSize - mostBytes);
    QByteArray bytes = file.read(mostBytes);
    contents.bytesRead = bytes.size();
    // Read from the middle, the first line is the end of a word.
    if (tooLong)
        bytes.remove(0, std::find_if(bytes.cbegin(), bytes.cend(), isLineBreak) - bytes.cbegin());
    contents.words = wordsOf(bytes);
    return contents;
}

QStringList PersonalDictionary::wordsOf(QByteArrayView bytes)
{
    QStringList words;
    const bool allUtf8 = bytes.isValidUtf8();
    forEachLine(bytes, [&](QByteArrayView line) {
        QString word =
            allUtf8 || line.isValidUtf8() ? QString::fromUtf8(line) : QString::fromLatin1(line);
        // A byte order mark at the start of the file is no part of the first word.
        if (word.startsWith(QChar::ByteOrderMark))
            word.remove(0, 1);
        if (!word.isEmpty())
            words << word;
    });
    return words;
}

bool PersonalDictionary::add(const QString& word, QString* errorString) const
{
    const QString folder = DataFolder::path(m_dataDir);
    if (!QDir().mkpath(folder)) {
        *errorString = tr("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Another instance adding a word at the same moment waits, then appends to our list.
    QLockFile lock(path() + QLatin1String(".lock"));
    if (!lock.tryLock(lockWaitMs)) {
        *errorString = lockFailure(lock, folder);
        return false;
    }
    QFile file(path());
    QByteArray bytes;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            *errorString = file.errorString();
            return false;
        }
        bytes = file.readAll();
        file.close();
    }
    if (wordsOf(bytes).contains(word))
        return true;
    const QByteArray ending = lineEndingOf(bytes);
    // A list another program keeps in Latin-1 gets its new words in Latin-1 where they can be.
    const QByteArray line =
        !bytes.isValidUtf8() && isLatin1(word) ? word.toLatin1() : word.toUtf8();
    const bool ended = bytes.isEmpty() || isLineBreak(bytes.back());
    return AtomicFile::write(path(), {bytes, ended ? QByteArray() : ending, line, ending},
                             errorString);
}
