#include "formats/docx/DocxSection.h"

#include "formats/docx/DocxXml.h"

#include <QXmlStreamReader>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// The story a header or footer reference of this type stands for; StoryCount for none.
PageFurniture::Story storyOf(bool header, QStringView type)
{
    const int base = header ? PageFurniture::Header : PageFurniture::Footer;
    if (type == u"first")
        return PageFurniture::Story(base + PageFurniture::HeaderFirst);
    if (type == u"even")
        return PageFurniture::Story(base + PageFurniture::HeaderLeft);
    if (type == u"default")
        return PageFurniture::Story(base);
    return PageFurniture::StoryCount;
}

void readMargins(const QXmlStreamReader& xml, DocxSection& section)
{
    const auto take = [&](QLatin1StringView name, int& length) {
        // A negative top or bottom margin says the text may not push it: the length is kept.
        if (const auto value = DocxXml::number(xml, name))
            length = std::abs(*value);
    };
    take("left"_L1, section.page.marginLeft);
    take("right"_L1, section.page.marginRight);
    take("top"_L1, section.page.marginTop);
    take("bottom"_L1, section.page.marginBottom);
    take("header"_L1, section.headerY);
    take("footer"_L1, section.footerY);
}

} // namespace

void DocxSection::read(QXmlStreamReader& xml)
{
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"headerReference" || name == u"footerReference") {
            const PageFurniture::Story story =
                storyOf(name == u"headerReference", DocxXml::attribute(xml, "type"_L1));
            if (story != PageFurniture::StoryCount)
                stories[size_t(story)] = DocxXml::attribute(xml, "id"_L1).toString();
        } else if (name == u"pgSz") {
            pageGiven = true;
            page.paperWidth = DocxXml::number(xml, "w"_L1).value_or(page.paperWidth);
            page.paperHeight = DocxXml::number(xml, "h"_L1).value_or(page.paperHeight);
            page.landscape = DocxXml::attribute(xml, "orient"_L1) == u"landscape";
        } else if (name == u"pgMar") {
            pageGiven = true;
            readMargins(xml, *this);
        } else if (name == u"titlePg") {
            titlePage = DocxXml::isOn(xml);
        }
        xml.skipCurrentElement();
    }
}
