#include "goals/WritingTally.h"

#include "documents/DocumentCounts.h"

#include <QTextDocument>
#include <QTimer>

#include <utility>

WritingTally::WritingTally(WritingHistory& history, std::function<QDate()> today,
                           std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_history(history), m_today(std::move(today)), m_clock(std::move(clock))
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrHistory"));
    m_timer->setInterval(storeIntervalMs);
    connect(m_timer, &QTimer::timeout, this, [this] { tmrHistory_Timer(); });
    m_timer->start();
}

void WritingTally::rebase(QTextDocument& document)
{
    if (&document != m_document && !m_net.contains(&document))
        connect(&document, &QObject::destroyed, this,
                [this, gone = &document] { m_net.remove(gone); });
    m_document = &document;
    const DocumentCounts& counts = DocumentCounts::of(document);
    m_own = counts.ownWords();
    m_seed = counts.seed();
}

void WritingTally::txtFile_Change(QTextDocument& document)
{
    if (m_undone)
        return;
    if (&document != m_document || m_aside > 0) {
        rebase(document);
        return;
    }
    const DocumentCounts& counts = DocumentCounts::of(document);
    const qint64 own = counts.ownWords();
    const qint64 delta = own - std::exchange(m_own, own);
    Written& written = writtenToday(document);
    const qint64 before = m_history.day(m_day).minutes();
    countTime();
    const qint64 now = qMax<qint64>(0, written.now + delta);
    const bool wrote = add(now - std::exchange(written.now, now));
    countSeed(counts.seed());
    if (wrote || m_history.day(m_day).minutes() != before)
        emit changed();
}

WritingTally::Written& WritingTally::writtenToday(const QTextDocument& document)
{
    if (const QDate day = m_today(); day != m_day) {
        m_day = day;
        m_net.clear();
    }
    return m_net[&document];
}

bool WritingTally::add(qint64 words)
{
    m_session = qMax<qint64>(0, m_session + words);
    m_history.add(m_day, words, 0);
    return words != 0;
}

void WritingTally::undo_Recorded()
{
    if (!m_document || m_undone)
        return;
    Written& written = writtenToday(*m_document);
    written.previous = std::exchange(written.latest, written.now);
}

// Taken out now: a text read again takes the place of the document's, which goes with its
// entries.
void WritingTally::undo_Starts()
{
    m_undone = m_net.take(m_document);
}

// Undo swaps the two recorded states, and the words written at each go with them; the seed
// runs it takes away or brings back count as deleted or written.
void WritingTally::undo_Ends(QTextDocument& document)
{
    const Written undone = *std::exchange(m_undone, std::nullopt);
    countSeed(DocumentCounts::of(document).seed());
    rebase(document);
    m_net[&document] = undone;
    Written& written = writtenToday(document);
    const qint64 back = std::exchange(written.previous, written.now);
    written.latest = back;
    if (add(back - std::exchange(written.now, back)))
        emit changed();
}

// Runs that arrive are written; words that leave a run for the writer's own are reworked; seed
// words that leave the document, beyond those the new runs bring, are deleted.
void WritingTally::countSeed(const SeedCount& seed)
{
    const qint64 written = qMax<qint64>(0, seed.written - m_seed.written);
    const qint64 reworked = qMax<qint64>(0, seed.reworked - m_seed.reworked);
    const qint64 deleted =
        qMax<qint64>(0, written - (seed.kept - m_seed.kept) - (seed.reworked - m_seed.reworked));
    m_seed = seed;
    if (written != 0 || reworked != 0 || deleted != 0)
        m_history.addSeed(m_day, written, reworked, deleted);
}

void WritingTally::countTime()
{
    const qint64 now = m_clock();
    if (m_lastEdit >= 0 && now - m_lastEdit <= pauseMs)
        m_history.add(m_day, 0, now - m_lastEdit);
    m_lastEdit = now;
}

bool WritingTally::tmrHistory_Timer(QString* errorString)
{
    QString ignored;
    return m_history.store(errorString ? errorString : &ignored);
}
