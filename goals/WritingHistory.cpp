#include "goals/WritingHistory.h"

#include "formats/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <array>
#include <optional>

namespace {

// An instance that died holding the lock leaves it stale after this long.
constexpr int lockWaitMs = 5000;
constexpr qint64 minuteMs = 60000;

void addTo(WritingHistory::Day& sum, const WritingHistory::Day& day)
{
    sum.words += day.words;
    sum.milliseconds += day.milliseconds;
    sum.seedWritten += day.seedWritten;
    sum.seedReworked += day.seedReworked;
    sum.seedDeleted += day.seedDeleted;
}

// "412 words 35 minutes" or "seed 120 written 30 reworked 10 deleted", after the date.
std::optional<WritingHistory::Day> parseFigures(const QList<QByteArray>& fields)
{
    const bool seed = fields.size() == 8 && fields[1] == "seed" && fields[3] == "written" &&
                      fields[5] == "reworked" && fields[7] == "deleted";
    if (!seed && (fields.size() != 5 || fields[2] != "words" || fields[4] != "minutes"))
        return std::nullopt;
    std::array<qint64, 3> numbers{};
    const qsizetype first = seed ? 2 : 1;
    for (qsizetype at = first, index = 0; at < fields.size(); at += 2, ++index) {
        bool ok = false;
        numbers[size_t(index)] = fields[at].toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (seed)
        return WritingHistory::Day{0, 0, numbers[0], numbers[1], numbers[2]};
    return WritingHistory::Day{numbers[0], numbers[1] * minuteMs};
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

void WritingHistory::addSeed(QDate day, qint64 written, qint64 reworked, qint64 deleted)
{
    addTo(m_pending, day, {0, 0, written, reworked, deleted});
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
        WritingHistory::Day stored = day.value();
        stored.milliseconds = whole;
        addTo(merged, day.key(), stored);
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
        const QDate date = QDate::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
        if (const std::optional<Day> day = parseFigures(fields); day && date.isValid())
            addTo(days, date, *day);
    }
    return days;
}

QByteArray WritingHistory::format(const Days& days)
{
    QByteArray bytes;
    for (auto day = days.cbegin(); day != days.cend(); ++day) {
        const QByteArray date = day.key().toString(Qt::ISODate).toLatin1();
        const Day& figures = day.value();
        bytes += date + ' ' + QByteArray::number(figures.words) + " words " +
                 QByteArray::number(figures.minutes()) + " minutes\n";
        if (figures.hasSeed())
            bytes += date + " seed " + QByteArray::number(figures.seedWritten) + " written " +
                     QByteArray::number(figures.seedReworked) + " reworked " +
                     QByteArray::number(figures.seedDeleted) + " deleted\n";
    }
    return bytes;
}
