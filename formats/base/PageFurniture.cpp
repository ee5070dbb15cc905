#include "formats/base/PageFurniture.h"

#include <QTextDocument>
#include <QTextFrame>

namespace {

// Properties of the root frame's format, after the page setup's.
enum Property {
    FirstStory = QTextFormat::UserProperty + 0x5200,
    TitlePage = FirstStory + PageFurniture::StoryCount,
    FacingPages,
    HeaderY,
    FooterY,
};

} // namespace

PageFurniture PageFurniture::of(const QTextDocument& document)
{
    const QTextFrameFormat format = document.rootFrame()->frameFormat();
    PageFurniture furniture;
    for (int story = 0; story < StoryCount; ++story)
        furniture.stories[size_t(story)] = format.property(FirstStory + story).toByteArray();
    furniture.titlePage = format.boolProperty(TitlePage);
    furniture.facingPages = format.boolProperty(FacingPages);
    if (format.hasProperty(HeaderY))
        furniture.headerY = format.intProperty(HeaderY);
    if (format.hasProperty(FooterY))
        furniture.footerY = format.intProperty(FooterY);
    return furniture;
}

void PageFurniture::keepIn(QTextDocument& document) const
{
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    const QTextFrameFormat before = format;
    const PageFurniture plain;
    for (int story = 0; story < StoryCount; ++story)
        format.setProperty(FirstStory + story, stories[size_t(story)].isEmpty()
                                                   ? QVariant()
                                                   : QVariant(stories[size_t(story)]));
    format.setProperty(TitlePage, titlePage ? QVariant(true) : QVariant());
    format.setProperty(FacingPages, facingPages ? QVariant(true) : QVariant());
    format.setProperty(HeaderY, headerY != plain.headerY ? QVariant(headerY) : QVariant());
    format.setProperty(FooterY, footerY != plain.footerY ? QVariant(footerY) : QVariant());
    if (format != before)
        document.rootFrame()->setFrameFormat(format);
}

PageFurniture::Story PageFurniture::storyFor(bool header, int page) const
{
    const auto present = [this](int story) {
        return stories[size_t(story)].isEmpty() ? StoryCount : Story(story);
    };
    const int base = header ? Header : Footer;
    if (titlePage && page == 1)
        return present(base + (HeaderFirst - Header));
    if (facingPages) {
        const Story side = present(base + (page % 2 == 0 ? HeaderLeft : HeaderRight));
        if (side != StoryCount)
            return side;
    }
    return present(base);
}
