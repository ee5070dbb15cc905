#pragma once

#include "formats/rtf/RtfCharState.h"

/// What an RTF group carries and restores when it closes.
struct RtfGroupState
{
    /// Where the group's text goes.
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
    };

    RtfCharState chars;
    /// Fallback characters following each \uN, set by \ucN.
    int unicodeSkip = 1;
    Destination destination = Destination::Body;
    /// Inside a footnote, whose text goes to the notes at the end of the document.
    bool inNote = false;
};
