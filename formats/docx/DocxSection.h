#pragma once

#include "formats/PageSetup.h"
#include "formats/base/PageFurniture.h"

#include <QString>

#include <array>

class QXmlStreamReader;

/// What a document's last section (sectPr) says of its pages: paper, margins, and the
/// relationships of its headers and footers.
struct DocxSection
{
    PageSetup page;
    bool pageGiven = false;
    /// The relationship id of each story's part, in the order of PageFurniture::Story.
    std::array<QString, PageFurniture::StoryCount> stories;
    bool titlePage = false;
    int headerY = 720;
    int footerY = 720;

    /// Reads the children of a sectPr element.
    void read(QXmlStreamReader& xml);
};
