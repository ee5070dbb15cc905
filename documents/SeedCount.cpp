#include "documents/SeedCount.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace {

struct RunTally
{
    qint64 length = 0;
    qint64 writtenWords = 0;
    qint64 breaks = 0;
    qint64 characters = 0;
    qint64 words = 0;
    qint64 pieces = 0;
    qint64 starts = 0;
    qint64 ends = 0;
};

// A run written over several paragraphs is one stretch per paragraph, each joined to the next
// at a paragraph's end; any stretch more than those, or characters fewer, is the writer's edit,
// and so are more paragraph breaks than it was written with, where that is known (fewer stretches
// are no sign: an empty paragraph holds none).
bool isEdited(const RunTally& run)
{
    const qint64 joins = std::min(run.starts, run.ends);
    return run.pieces - joins > 1 || (run.length > 0 && run.characters != run.length) ||
           (run.writtenWords > 0 && run.pieces - 1 > run.breaks);
}

} // namespace

SeedCount SeedCount::of(const std::vector<Piece>& pieces)
{
    QHash<qint64, RunTally> runs;
    for (const Piece& piece : pieces) {
        RunTally& run = runs[piece.run];
        run.length = std::max(run.length, piece.runLength);
        run.writtenWords = std::max(run.writtenWords, piece.runWords);
        run.breaks = std::max(run.breaks, piece.runBreaks);
        run.characters += piece.characters;
        run.words += piece.words;
        ++run.pieces;
        run.starts += piece.atStart ? 1 : 0;
        run.ends += piece.atEnd ? 1 : 0;
    }
    SeedCount count;
    count.present = !runs.isEmpty();
    for (const RunTally& run : std::as_const(runs)) {
        (isEdited(run) ? count.reworked : count.kept) += run.words;
        // Typing inside a word may leave more seed words than were written.
        count.written += std::max(run.writtenWords, run.words);
    }
    return count;
}

QString SeedCount::describe() const
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("seed: %1 kept, %2 reworked")
        .arg(english.toString(kept), english.toString(reworked));
}
