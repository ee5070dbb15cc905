#pragma once

#include "formats/rtf/RtfCharState.h"

/// What an RTF group carries and restores when it closes.
struct RtfGroupState
{
    /// Where the group's words and text go: the body to RtfBodyText, each table to its class,
    /// \pn to RtfBodyText as the paragraph's list, a field's instruction to RtfLinkTable and a
    /// picture to RtfPicture.
    enum class Destination {
        Body,
        FontTable,
        ColorTable,
        Skipped,
        ListTable,
        StyleSheet,
        ListOverrideTable,
        LegacyNumbering,
        FieldInstruction,
        Picture,
        /// A list level's number text, and the text before and after an older list's number.
        LevelText,
        LegacyTextBefore,
        LegacyTextAfter,
        /// \info, whose title and author are kept and the rest left out.
        Info,
        InfoTitle,
        InfoAuthor,
    };

    RtfCharState chars;
    /// Fallback characters following each \uN, set by \ucN.
    int unicodeSkip = 1;
    Destination destination = Destination::Body;
    /// Inside a footnote, a header or a footer, which is read apart from the body's text.
    bool inNote = false;
};
