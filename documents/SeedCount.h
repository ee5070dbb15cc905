#pragma once

#include <QString>

#include <vector>

/// What became of a document's seed text: the words of the runs the writer left as they were
/// written, and of the runs the writer edited inside (typed, deleted or overtyped within them).
struct SeedCount
{
    /// The characters one run has in one paragraph, in one stretch.
    struct Piece
    {
        qint64 run = 0;
        /// The run's length when written, paragraph breaks left out; 0 when unknown.
        qint64 runLength = 0;
        qint64 characters = 0;
        qint64 words = 0;
        /// Whether the stretch starts or ends its paragraph, where a run goes on in the next.
        bool atStart = false;
        bool atEnd = false;
    };

    qint64 kept = 0;
    qint64 reworked = 0;
    /// Whether the document holds seed text at all.
    bool present = false;

    /// Sums the pieces of a document's paragraphs, in any order.
    static SeedCount of(const std::vector<Piece>& pieces);

    /// "seed: 120 kept, 45 reworked".
    QString describe() const;

    friend bool operator==(const SeedCount&, const SeedCount&) = default;
};
