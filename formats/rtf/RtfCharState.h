#pragma once

#include <QHashFunctions>

/// The character formatting in force at one point of an RTF stream, as the reader tracks it.
struct RtfCharState
{
    /// Font number meaning "the document's \deff font".
    static constexpr int DefaultFont = -1;

    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    /// Index into the colour table; 0 is the automatic colour.
    int color = 0;
    int font = DefaultFont;
    /// Size in half-points; 0 leaves the document's default size.
    int halfPoints = 0;
    /// 0 on the baseline, 1 superscript, 2 subscript.
    int vertical = 0;
    /// Colour table index of the background; 0 is none.
    int highlight = 0;
    /// 1-based index of the hyperlink target the text belongs to; 0 is none.
    int link = 0;
    /// Stands for the number of the page it is printed on: a page field's result, or \chpgn.
    bool pageNumber = false;
    /// The number of the note the text is the mark of; 0 for text that is no mark.
    int note = 0;
    /// The seed run the text belongs to (TextProperties::SeedRun); 0 for the writer's own.
    qint64 seedRun = 0;
    /// The run's length, words and paragraph breaks when it was written
    /// (TextProperties::SeedRunLength, SeedRunWords, SeedRunBreaks); 0 when unknown.
    qint64 seedRunLength = 0;
    int seedRunWords = 0;
    int seedRunBreaks = 0;

    RtfCharState withLink(int target) const
    {
        RtfCharState copy = *this;
        copy.link = target;
        return copy;
    }

    friend bool operator==(const RtfCharState&, const RtfCharState&) = default;
};

/// Hashes every field, so format caches keyed by state stay O(1) even for hostile inputs.
size_t qHash(const RtfCharState& state, size_t seed = 0);
