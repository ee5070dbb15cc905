#pragma once

#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfPage.h"

#include <QString>

#include <array>

class XmlReader;

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

    /// Reads the children of a sectPr element.
    void read(XmlReader& xml);
};
