#include "formats/docx/DocxSection.h"

#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"

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

void take(const XmlReader& xml, QLatin1StringView name, RtfPage& page, int length)
{
    // A negative top or bottom margin says the text may not push it: the length is kept.
    if (const auto value = DocxXml::number(xml, name); value && *value != 0) {
        page.lengths[size_t(length)] = std::abs(*value);
        page.given |= 1u << length;
    }
}

void readMargins(const XmlReader& xml, DocxSection& section)
{
    take(xml, "left"_L1, section.page, RtfPage::MarginLeft);
    take(xml, "right"_L1, section.page, RtfPage::MarginRight);
    take(xml, "top"_L1, section.page, RtfPage::MarginTop);
    take(xml, "bottom"_L1, section.page, RtfPage::MarginBottom);
    section.headerY = DocxXml::number(xml, "header"_L1).value_or(section.headerY);
    section.footerY = DocxXml::number(xml, "footer"_L1).value_or(section.footerY);
}

} // namespace

void DocxSection::read(XmlReader& xml)
{
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"headerReference" || name == u"footerReference") {
            const PageFurniture::Story story =
                storyOf(name == u"headerReference", DocxXml::attribute(xml, "type"_L1));
            if (story != PageFurniture::StoryCount)
                stories[size_t(story)] = DocxXml::attribute(xml, "id"_L1).toString();
        } else if (name == u"pgSz") {
            take(xml, "w"_L1, page, RtfPage::PaperWidth);
            take(xml, "h"_L1, page, RtfPage::PaperHeight);
            page.landscape = DocxXml::attribute(xml, "orient"_L1) == u"landscape";
        } else if (name == u"pgMar") {
            readMargins(xml, *this);
        } else if (name == u"titlePg") {
            titlePage = DocxXml::isOn(xml);
        } else if (name == u"type") {
            newPage = DocxXml::attribute(xml, "val"_L1) != u"continuous";
        }
        xml.skipCurrentElement();
    }
}
