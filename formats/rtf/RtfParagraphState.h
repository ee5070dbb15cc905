#pragma once

#include <QList>
#include <QTextListFormat>
#include <QTextOption>

/// The paragraph formatting in force, as \pard resets it; lengths in twips.
struct RtfParagraphState
{
    enum class Alignment { Left, Center, Right, Justify };

    /// A tab stop as RTF gives it: its place from the left margin, its kind and its leader.
    struct TabStop
    {
        int position = 0;
        QTextOption::TabType type = QTextOption::LeftTab;
        /// The leader's character as RtfCharacterPolicy names it; a space for none.
        char16_t leader = u' ';

        friend bool operator==(const TabStop&, const TabStop&) = default;
    };

    /// ListStyleUndefined when the paragraph is not in a list.
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined;
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    /// \sl: 0 for single spacing, below 0 exactly that, else at least that or, with
    /// lineMultiple, that in 240ths of a line.
    int lineSpacing = 0;
    bool lineMultiple = false;
    /// \pagebb, which holds until \pard.
    bool pageBreakBefore = false;
    /// After \page or a section's end: the next paragraph alone starts a page, \pard or not.
    bool newPage = false;
    QList<TabStop> tabs;
    /// Inside a table cell, where a paragraph break only separates lines of the cell.
    bool inTable = false;
    /// The number of the note the paragraph belongs to; 0 in the body's text.
    int note = 0;
    /// The note is an endnote.
    bool endnote = false;

    friend bool operator==(const RtfParagraphState&, const RtfParagraphState&) = default;
};
