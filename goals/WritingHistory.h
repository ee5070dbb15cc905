#pragma once

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QString>

#include <functional>

/// The words written and the time spent writing, per day, kept in a plain file in the data
/// folder, one line a day: "2026-12-08 412 words 35 minutes", and for a day with seed text a
/// second line of what became of it: "2026-12-08 seed 120 written 30 reworked 10 deleted". A
/// reader that knows only the first kind passes over the second.
///
/// Several running instances share the file, so it is never simply rewritten: under a lock,
/// store() reads it as it is, adds what this instance wrote since it last stored, and replaces
/// it at once (a crash leaves the old file or the new one); what could not be stored is kept
/// for the next time.
class WritingHistory
{
public:
    struct Day
    {
        qint64 words = 0;
        qint64 milliseconds = 0;
        /// Seed words the injection wrote, that the writer reworked, and that went.
        qint64 seedWritten = 0;
        qint64 seedReworked = 0;
        qint64 seedDeleted = 0;

        qint64 minutes() const { return milliseconds / 60000; }
        /// The seed words written that were neither reworked nor deleted that day.
        qint64 seedKept() const
        {
            return qMax<qint64>(0, seedWritten - seedReworked - seedDeleted);
        }
        bool hasSeed() const { return seedWritten != 0 || seedReworked != 0 || seedDeleted != 0; }
        friend bool operator==(const Day&, const Day&) = default;
    };
    using Days = QMap<QDate, Day>;
    /// Replaces the file at path with bytes; false with the reason in errorString.
    using Writer =
        std::function<bool(const QString& path, const QByteArray& bytes, QString* errorString)>;

    /// The history kept in path; the file is read at once. write replaces the file, atomically
    /// unless a test says otherwise.
    explicit WritingHistory(const QString& path, Writer write = {});

    /// The history file in the per-user data folder dataDir, empty for the standard one.
    static QString fileIn(const QString& dataDir);

    /// Counts words and time written on day; words may be fewer than none.
    void add(QDate day, qint64 words, qint64 milliseconds);
    /// Counts what became of seed words on day.
    void addSeed(QDate day, qint64 written, qint64 reworked, qint64 deleted);
    /// Every day known, stored or not yet.
    Days days() const;
    Day day(QDate date) const;

    /// Adds what was written since the last store to the file; false with errorString when
    /// it could not be written, the writing kept to be stored again.
    bool store(QString* errorString);
    /// Reads the file again, as other instances left it.
    void reload();

    static Days parse(const QByteArray& bytes);
    static QByteArray format(const Days& days);

private:
    QString m_path;
    Writer m_write;
    Days m_stored;
    Days m_pending;
};
