#pragma once

#include <QString>

#include <vector>

/// What became of a document's seed text: the words of the runs the writer left as they were
/// written, and of the runs the writer edited inside (typed, deleted, overtyped or broke a
/// paragraph within them), out of the words its runs had when written.
struct SeedCount
{
    /// The characters one run has in one paragraph, in one stretch.
    struct Piece
    {
        qint64 run = 0;
        /// The run's length when written, paragraph breaks left out; 0 when unknown.
        qint64 runLength = 0;
        /// The run's words and paragraph breaks when written; 0 words when unknown.
        qint64 runWords = 0;
        qint64 runBreaks = 0;
        qint64 characters = 0;
        qint64 words = 0;
        /// Whether the stretch starts or ends its paragraph, where a run goes on in the next.
        bool atStart = false;
        bool atEnd = false;
    };

    qint64 kept = 0;
    qint64 reworked = 0;
    /// The words the runs still in the document had when written, as far as known.
    qint64 written = 0;
    /// Whether the document holds seed text at all.
    bool present = false;

    /// Sums the pieces of a document's paragraphs, in any order.
    static SeedCount of(const std::vector<Piece>& pieces);

    /// The words written that are neither kept nor reworked.
    qint64 deleted() const { return written - kept - reworked; }

    /// "seed: 120 kept, 45 reworked".
    QString describe() const;

    friend bool operator==(const SeedCount&, const SeedCount&) = default;
};
