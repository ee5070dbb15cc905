#pragma once

#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfPage.h"

#include <QString>

#include <array>
#include <optional>

class XmlReader;
class XmlWriter;

/// How a footnotePr or endnotePr element numbers its kind of notes: what it gives of it.
struct DocxNoteNumbering
{
    std::optional<Numbering::Style> style;
    std::optional<int> start;

    /// Reads the children of a footnotePr or endnotePr element.
    void read(XmlReader& xml);
    /// numbering, with what this gives in place of its own.
    Numbering over(Numbering numbering) const;
    /// Writes numbering as the first children of a footnotePr or endnotePr element.
    static void write(XmlWriter& xml, const Numbering& numbering);
};

/// What a document's last section (sectPr) says of its pages: paper, margins, and the
/// relationships of its headers and footers.
struct DocxSection
{
    /// The lengths given, in twips, as RTF's page keeps them.
    RtfPage page;
    /// The relationship id of each story's part, in the order of PageFurniture::Story.
    std::array<QString, PageFurniture::StoryCount> stories;
    bool titlePage = false;
    /// The section starts on a page of its own, as all but continuous ones do.
    bool newPage = true;
    int headerY = 720;
    int footerY = 720;
    DocxNoteNumbering footnotes;
    DocxNoteNumbering endnotes;

    /// Reads the children of a sectPr element.
    void read(XmlReader& xml);
};
