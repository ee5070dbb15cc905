#pragma once

#include <QString>

/// A run's effective formatting as the writer emits it, with table indices resolved.
struct RtfRunStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    /// Colour table index; 0 is the automatic colour.
    int color = 0;
    /// Font table index; -1 before anything was written.
    int font = -1;
    /// Size in half-points; -1 before anything was written.
    int halfPoints = -1;
    /// 0 on the baseline, 1 superscript, 2 subscript.
    int vertical = 0;
    /// Colour table index of the background; 0 is none.
    int highlight = 0;
    /// The hyperlink target, written as a field around the text rather than as a control word.
    QString link;
    /// The number of the note whose mark this is, written as \chftn with the note after it;
    /// 0 for text that is no mark.
    int note = 0;
    /// The mark is the writer's own text, such as "*", written as it is before its note.
    bool customMark = false;
    /// The number of the page, written as a PAGE field.
    bool pageNumber = false;
    /// Seed text, written in the character style that marks it: its run, and the run's length,
    /// words and paragraph breaks when it was written (0 when unknown); 0 for the writer's own
    /// text.
    qint64 seedRun = 0;
    qint64 seedRunLength = 0;
    qint64 seedRunWords = 0;
    qint64 seedRunBreaks = 0;

    friend bool operator==(const RtfRunStyle&, const RtfRunStyle&) = default;
};
