#pragma once

#include <QTextListFormat>

/// The paragraph formatting in force, as \pard resets it; lengths in twips.
struct RtfParagraphState
{
    enum class Alignment { Left, Center, Right, Justify };

    /// ListStyleUndefined when the paragraph is not in a list.
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined;
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    /// Inside a table cell, where a paragraph break only separates lines of the cell.
    bool inTable = false;
};
