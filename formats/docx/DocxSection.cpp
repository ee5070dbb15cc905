#include "formats/docx/DocxSection.h"

#include "formats/base/XmlWriter.h"
#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Word's names for the styles of Numbering::Style, in its order.
constexpr std::array<QLatin1StringView, 6> s_noteFormats = {"decimal"_L1,     "lowerLetter"_L1,
                                                            "upperLetter"_L1, "lowerRoman"_L1,
                                                            "upperRoman"_L1,  "chicago"_L1};

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

void DocxNoteNumbering::read(XmlReader& xml)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == u"numFmt") {
            const auto found = std::find(s_noteFormats.begin(), s_noteFormats.end(),
                                         DocxXml::attribute(xml, "val"_L1));
            if (found != s_noteFormats.end())
                style = Numbering::Style(found - s_noteFormats.begin());
        } else if (xml.name() == u"numStart") {
            if (const auto given = DocxXml::number(xml, "val"_L1))
                start = std::clamp(*given, Numbering::lowestStart, Numbering::highestStart);
        }
        xml.skipCurrentElement();
    }
}

Numbering DocxNoteNumbering::over(Numbering numbering) const
{
    numbering.style = style.value_or(numbering.style);
    numbering.start = start.value_or(numbering.start);
    return numbering;
}

void DocxNoteNumbering::write(XmlWriter& xml, const Numbering& numbering)
{
    xml.writeEmptyElement(QStringLiteral("w:numFmt"));
    xml.writeAttribute(QStringLiteral("w:val"), s_noteFormats[size_t(numbering.style)]);
    xml.writeEmptyElement(QStringLiteral("w:numStart"));
    xml.writeAttribute(QStringLiteral("w:val"), QString::number(numbering.start));
}

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
        } else if (name == u"footnotePr" || name == u"endnotePr") {
            (name == u"footnotePr" ? footnotes : endnotes).read(xml);
            continue;
        }
        xml.skipCurrentElement();
    }
}
