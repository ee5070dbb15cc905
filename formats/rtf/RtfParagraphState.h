#pragma once

#include <QList>
#include <QString>
#include <QTextListFormat>
#include <QTextOption>

/// The list level a paragraph is an item of, as its \ls and \ilvl, or its \pn, give it.
struct RtfListLevel
{
    /// ListStyleUndefined when the paragraph is not in a list.
    QTextListFormat::Style style = QTextListFormat::ListStyleUndefined;
    /// 0 for the outermost level.
    int level = 0;
    int start = 1;
    /// What stands before and after the number, as in "(i)" or "a)"; null when not given.
    QString prefix;
    QString suffix;
    /// The level's number text as the list table gives it when it shows the numbers of several
    /// levels, as "1.1." does, which the document cannot show; empty otherwise.
    QString levelText;
    /// The \ls number of the list the level belongs to; 0 when the file names none.
    int list = 0;

    static RtfListLevel of(QTextListFormat::Style style, int level = 0)
    {
        RtfListLevel made;
        made.style = style;
        made.level = level;
        return made;
    }

    friend bool operator==(const RtfListLevel&, const RtfListLevel&) = default;
};

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

    RtfListLevel list;
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
