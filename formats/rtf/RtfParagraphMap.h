#pragma once

#include "formats/rtf/RtfRunStyle.h"

#include <QByteArray>

#include <vector>

/// How the writer stands between two paragraphs: all that the next paragraph's RTF depends on
/// besides the paragraph itself and the font and colour tables.
struct RtfParagraphBoundary
{
    RtfRunStyle style;
    /// The paragraph properties in force, or "list" after a list paragraph.
    QByteArray properties;

    friend bool operator==(const RtfParagraphBoundary&, const RtfParagraphBoundary&) = default;
};

/// Where each paragraph's RTF ends in a written document and what it leaves behind, so that
/// one paragraph can be written again alone and put in place of its old RTF.
struct RtfParagraphMap
{
    struct Paragraph
    {
        /// The offset just past the paragraph's RTF, its \par included.
        qsizetype end = 0;
        /// The font and colour table entries the paragraph uses, in order, as one number: the
        /// tables list entries in order of first use.
        quint64 tableUse = 0;
        /// Index into boundaries of how the writer stands after this paragraph.
        int boundary = 0;
        /// A list or table paragraph, whose marker's number or cell depends on the paragraphs
        /// around it, or one holding a note's mark, whose note is written with it from
        /// paragraphs elsewhere.
        bool dependent = false;
    };

    qsizetype headerSize = 0;
    std::vector<Paragraph> paragraphs;
    /// Consecutive paragraphs usually leave the same boundary, so each is kept once.
    std::vector<RtfParagraphBoundary> boundaries;
};
