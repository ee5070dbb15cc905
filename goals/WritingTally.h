#pragma once

#include "documents/SeedCount.h"
#include "goals/WritingHistory.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <optional>

class QTextDocument;
class QTimer;

/// Counts the words the writer makes, honestly: the change in a document's own words at each
/// edit (DocumentCounts::ownWords), so seed words count only once the writer changes them, and
/// nothing while an Aside holds (text pasted, or moved through the clipboard). Words deleted
/// take back words written today in that document, never more. Undo brings back the count the
/// state it brings back had, so it takes back what the writer wrote since and returns what a
/// deletion took, never more. Each edit costs what the counts of the paragraphs it touched
/// cost, and a sum over the paragraphs with seed text. What the writer did with seed words
/// (SeedCount) goes to the day too.
///
/// What is counted goes to the history, which it stores now and then and at the end.
class WritingTally : public QObject
{
    Q_OBJECT

public:
    /// Edits this long apart or less are time spent writing.
    static constexpr qint64 pauseMs = 60000;
    static constexpr int storeIntervalMs = 60000;

    /// While one lives, the tally's edits are not the writer's writing.
    class Aside
    {
    public:
        explicit Aside(WritingTally& tally) : m_tally(tally) { ++m_tally.m_aside; }
        ~Aside() { --m_tally.m_aside; }
        Aside(const Aside&) = delete;
        Aside& operator=(const Aside&) = delete;

    private:
        WritingTally& m_tally;
    };

    /// today names the day on the writer's calendar; clock reads milliseconds on a clock that
    /// never goes back.
    WritingTally(WritingHistory& history, std::function<QDate()> today,
                 std::function<qint64()> clock, QObject* parent = nullptr);

    /// Text from elsewhere goes in between the two, which is not the writer's writing.
    void txtFile_ForeignTextStarts() { ++m_aside; }
    void txtFile_ForeignTextEnds() { --m_aside; }
    /// The text of document changed, or it is the document shown now.
    void txtFile_Change(QTextDocument& document);
    /// The undo check recorded the state of the document shown.
    void undo_Recorded();
    /// Undo brings back the state recorded before the latest, in the document shown or in a
    /// text read again from that state, which takes the document's place.
    void undo_Starts();
    void undo_Ends(QTextDocument& document);
    /// Stores the history now; false with errorString when it could not.
    bool tmrHistory_Timer(QString* errorString = nullptr);

    WritingHistory::Day today() const { return m_history.day(m_today()); }
    /// The words written since the program started.
    qint64 sessionWords() const { return m_session; }

signals:
    /// Today's words or minutes, or the session's words, changed.
    void changed();

private:
    /// A document's words written today, now and at its two states the undo last recorded.
    struct Written
    {
        qint64 now = 0;
        qint64 latest = 0;
        qint64 previous = 0;
    };

    void rebase(QTextDocument& document);
    /// The words document wrote today, none when the day turned since the last edit.
    Written& writtenToday(const QTextDocument& document);
    /// Adds words to today's and the session's; true when that changed them.
    bool add(qint64 words);
    void countTime();
    /// Adds to the day what became of seed words since the document's seed was last counted.
    void countSeed(const SeedCount& seed);

    WritingHistory& m_history;
    std::function<QDate()> m_today;
    std::function<qint64()> m_clock;
    QTimer* m_timer = nullptr;
    int m_aside = 0;
    /// The document last seen, never read through: a new one is counted from how it arrives.
    const QTextDocument* m_document = nullptr;
    qint64 m_own = 0;
    SeedCount m_seed;
    /// Per document, its words written today, which deletions never take below none.
    QHash<const QTextDocument*, Written> m_net;
    QDate m_day;
    qint64 m_session = 0;
    qint64 m_lastEdit = -1;
    /// What the document shown had written while Undo is under way; its edits wait till then.
    std::optional<Written> m_undone;
};
