#include "goals/WritingHistory.h"

#include "formats/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

// An instance that died holding the lock leaves it stale after this long.
constexpr int lockWaitMs = 5000;
constexpr qint64 minuteMs = 60000;

void addTo(WritingHistory::Day& sum, const WritingHistory::Day& day)
{
    sum.words += day.words;
    sum.milliseconds += day.milliseconds;
}

void addTo(WritingHistory::Days& days, QDate date, const WritingHistory::Day& day)
{
    addTo(days[date], day);
}

} // namespace

WritingHistory::WritingHistory(const QString& path, Writer write)
    : m_path(path), m_write(std::move(write))
{
    if (!m_write)
        m_write = [](const QString& file, const QByteArray& bytes, QString* errorString) {
            return AtomicFile::write(file, {bytes}, errorString);
        };
    reload();
}

QString WritingHistory::fileIn(const QString& dataDir)
{
    return QDir(DataFolder::path(dataDir)).filePath(QStringLiteral("history.txt"));
}

void WritingHistory::add(QDate day, qint64 words, qint64 milliseconds)
{
    addTo(m_pending, day, {words, milliseconds});
}

WritingHistory::Days WritingHistory::days() const
{
    Days all = m_stored;
    for (auto day = m_pending.cbegin(); day != m_pending.cend(); ++day)
        addTo(all, day.key(), day.value());
    return all;
}

WritingHistory::Day WritingHistory::day(QDate date) const
{
    WritingHistory::Day day = m_stored.value(date);
    addTo(day, m_pending.value(date));
    return day;
}

void WritingHistory::reload()
{
    QFile file(m_path);
    m_stored = file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : Days();
}

// The file keeps whole minutes: the rest of a minute waits here for the next store.
bool WritingHistory::store(QString* errorString)
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        *errorString = QStringLiteral("the folder %1 cannot be made").arg(QFileInfo(m_path).path());
        return false;
    }
    QLockFile lock(m_path + QLatin1String(".lock"));
    if (!lock.tryLock(lockWaitMs)) {
        *errorString = QStringLiteral("the history file stays locked");
        return false;
    }
    reload();
    Days merged = m_stored;
    Days left;
    for (auto day = m_pending.cbegin(); day != m_pending.cend(); ++day) {
        const qint64 whole = day.value().milliseconds / minuteMs * minuteMs;
        addTo(merged, day.key(), {day.value().words, whole});
        if (day.value().milliseconds != whole)
            left[day.key()] = {0, day.value().milliseconds - whole};
    }
    if (!m_write(m_path, format(merged), errorString))
        return false;
    m_stored = merged;
    m_pending = left;
    return true;
}

WritingHistory::Days WritingHistory::parse(const QByteArray& bytes)
{
    Days days;
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 5 || fields[2] != "words" || fields[4] != "minutes")
            continue;
        const QDate date = QDate::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
        bool wordsOk = false;
        bool minutesOk = false;
        const qint64 words = fields[1].toLongLong(&wordsOk);
        const qint64 minutes = fields[3].toLongLong(&minutesOk);
        if (date.isValid() && wordsOk && minutesOk)
            addTo(days, date, {words, minutes * minuteMs});
    }
    return days;
}

QByteArray WritingHistory::format(const Days& days)
{
    QByteArray bytes;
    for (auto day = days.cbegin(); day != days.cend(); ++day)
        bytes += day.key().toString(Qt::ISODate).toLatin1() + ' ' +
                 QByteArray::number(day.value().words) + " words " +
                 QByteArray::number(day.value().minutes()) + " minutes\n";
    return bytes;
}
