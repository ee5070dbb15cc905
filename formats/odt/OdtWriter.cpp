#include "formats/odt/OdtWriter.h"

#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/SeedRunXml.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/odt/OdtAutoStyles.h"
#include "formats/odt/OdtBodyWriter.h"
#include "formats/odt/OdtPackage.h"
#include "formats/odt/OdtProperties.h"
#include "formats/odt/OdtXml.h"
#include "formats/rtf/RtfReader.h"

#include "formats/base/XmlWriter.h"
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace {

bool hasSeedText(const QTextDocument& document)
{
    const QList<QTextFormat> formats = document.allFormats();
    return std::any_of(formats.cbegin(), formats.cend(), [](const QTextFormat& format) {
        return format.hasProperty(TextProperties::SeedRun);
    });
}

const QString s_version = QStringLiteral("1.3");
const QString s_mimeType = QStringLiteral("application/vnd.oasis.opendocument.text");
const QString s_pageLayout = QStringLiteral("pm1");
const QString s_standardPage = QStringLiteral("Standard");
const QString s_firstPage = QStringLiteral("First_20_Page");
// Between a header and the body, and the body and a footer, within the room the page leaves.
constexpr double s_furnitureSpacing = 144;

void startRoot(XmlWriter& xml, const QString& name)
{
    xml.writeStartDocument();
    xml.writeStartElement(name);
    const std::array<std::pair<const char*, const QString*>, 12> namespaces = {
        {{"office", &OdtXml::office},
         {"style", &OdtXml::style},
         {"text", &OdtXml::text},
         {"table", &OdtXml::table},
         {"draw", &OdtXml::draw},
         {"fo", &OdtXml::fo},
         {"xlink", &OdtXml::xlink},
         {"dc", &OdtXml::dc},
         {"meta", &OdtXml::meta},
         {"svg", &OdtXml::svg},
         {"qm", &SeedRunXml::namespaceUri},
         {"manifest", &OdtXml::manifest}}};
    for (const auto& [prefix, uri] : namespaces)
        if (name != u"manifest:manifest" || *uri == OdtXml::manifest)
            xml.writeAttribute(QStringLiteral("xmlns:") + QLatin1StringView(prefix), *uri);
    xml.writeAttribute(name.startsWith(u"manifest") ? QStringLiteral("manifest:version")
                                                    : QStringLiteral("office:version"),
                       s_version);
}

struct StoryElement
{
    const char* name;
    PageFurniture::Story story;
    /// What facing pages print there instead, when they have it.
    PageFurniture::Story facingStory;
};

constexpr std::array<StoryElement, 4> s_stories = {
    {{"style:header", PageFurniture::Header, PageFurniture::HeaderRight},
     {"style:header-left", PageFurniture::HeaderLeft, PageFurniture::HeaderLeft},
     {"style:footer", PageFurniture::Footer, PageFurniture::FooterRight},
     {"style:footer-left", PageFurniture::FooterLeft, PageFurniture::FooterLeft}}};

// The first page's own header and footer go on a page style of their own, which the body's
// first paragraph names and which hands on to the standard page, as LibreOffice does.
constexpr std::array<StoryElement, 2> s_firstStories = {
    {{"style:header", PageFurniture::HeaderFirst, PageFurniture::HeaderFirst},
     {"style:footer", PageFurniture::FooterFirst, PageFurniture::FooterFirst}}};

QByteArray storyOf(const PageFurniture& furniture, const StoryElement& element)
{
    const QByteArray& facing = furniture.stories[size_t(element.facingStory)];
    if (furniture.facingPages && !facing.isEmpty())
        return facing;
    return furniture.stories[size_t(element.story)];
}

bool isHeader(const StoryElement& element)
{
    return element.story < PageFurniture::Footer;
}

bool hasStory(const PageFurniture& furniture, bool header)
{
    for (const StoryElement& element : s_stories)
        if (isHeader(element) == header && !storyOf(furniture, element).isEmpty())
            return true;
    for (const StoryElement& element : s_firstStories)
        if (furniture.titlePage && isHeader(element) == header &&
            !storyOf(furniture, element).isEmpty())
            return true;
    return false;
}

} // namespace

OdtWriter::OdtWriter(const QTextDocument& document, const OdtPage& page)
    : m_document(document), m_page(page)
{
}

QByteArray OdtWriter::write(const Progress& progress)
{
    OdtPictures pictures;
    const DeflatedPart body = content(pictures, progress);
    const QByteArray styleBytes = styles(pictures);
    OdtPackageWriter package(s_mimeType.toLatin1());
    package.add(QStringLiteral("content.xml"), body);
    package.add(QStringLiteral("styles.xml"), styleBytes);
    package.add(QStringLiteral("meta.xml"), meta());
    for (const auto& [part, data] : pictures.data)
        package.add(part, data);
    package.add(QStringLiteral("META-INF/manifest.xml"), manifest(pictures));
    return package.finish();
}

// The body is written first, for the automatic styles it uses, which go before it: it is
// deflated as it comes, and what goes before it is put in front after.
DeflatedPart OdtWriter::content(OdtPictures& pictures, const Progress& progress)
{
    OdtAutoStyles styles(QString{});
    XmlWriter body;
    PartDeflater deflater;
    body.setSink([&deflater](QByteArray piece) { return deflater.add(std::move(piece)); },
                 PartDeflater::pieceSize);
    OdtBodyWriter writer(m_document, body, styles, pictures);
    if (PageFurniture::of(m_document).titlePage)
        writer.setFirstPage(s_firstPage);
    writer.write(progress);
    XmlWriter xml;
    startRoot(xml, QStringLiteral("office:document-content"));
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    styles.write(xml);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("office:body"));
    xml.writeStartElement(QStringLiteral("office:text"));
    // Nothing, to close the start tag before the body's first piece.
    xml.writeRaw({});
    deflater.prepend(xml.take());
    xml.writeRaw(body.take());
    xml.writeEndDocument();
    return deflater.finish(xml.take());
}

QByteArray OdtWriter::styles(OdtPictures& pictures)
{
    OdtAutoStyles automatic(QStringLiteral("M"));
    const QByteArray master = masterStyles(automatic, pictures);
    XmlWriter xml;
    startRoot(xml, QStringLiteral("office:document-styles"));
    writeDefaults(xml);
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    writePageLayout(xml);
    automatic.write(xml);
    xml.writeEndElement();
    xml.writeRaw(master);
    xml.writeEndDocument();
    return xml.take();
}

// Headers and footers are kept as RTF: each is read into a document of its own and written as
// the body is.
QByteArray OdtWriter::masterStyles(OdtAutoStyles& styles, OdtPictures& pictures)
{
    const PageFurniture furniture = PageFurniture::of(m_document);
    XmlWriter xml;
    xml.writeStartElement(QStringLiteral("office:master-styles"));
    xml.writeStartElement(QStringLiteral("style:master-page"));
    xml.writeAttribute(QStringLiteral("style:name"), s_standardPage);
    xml.writeAttribute(QStringLiteral("style:page-layout-name"), s_pageLayout);
    for (const StoryElement& element : s_stories)
        if (const QByteArray rtf = storyOf(furniture, element); !rtf.isEmpty())
            writeStory(xml, element.name, rtf, styles, pictures);
    xml.writeEndElement();
    if (furniture.titlePage) {
        xml.writeStartElement(QStringLiteral("style:master-page"));
        xml.writeAttribute(QStringLiteral("style:name"), s_firstPage);
        xml.writeAttribute(QStringLiteral("style:display-name"), QStringLiteral("First Page"));
        xml.writeAttribute(QStringLiteral("style:page-layout-name"), s_pageLayout);
        xml.writeAttribute(QStringLiteral("style:next-style-name"), s_standardPage);
        // The body starts where it does on other pages, under an empty header if need be.
        for (const StoryElement& element : s_firstStories)
            if (hasStory(furniture, isHeader(element)))
                writeStory(xml, element.name, storyOf(furniture, element), styles, pictures);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return xml.take();
}

void OdtWriter::writeStory(XmlWriter& xml, const char* element, const QByteArray& rtf,
                           OdtAutoStyles& styles, OdtPictures& pictures)
{
    xml.writeStartElement(QString::fromLatin1(element));
    QTextDocument story;
    story.setDefaultFont(m_document.defaultFont());
    if (!rtf.isEmpty() && RtfReader().read(rtf, &story))
        OdtBodyWriter(story, xml, styles, pictures).write();
    else
        xml.writeEmptyElement(QStringLiteral("text:p"));
    xml.writeEndElement();
}

void OdtWriter::writeDefaults(XmlWriter& xml)
{
    xml.writeStartElement(QStringLiteral("office:styles"));
    xml.writeStartElement(QStringLiteral("style:default-style"));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    xml.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    xml.writeAttribute(
        QStringLiteral("style:tab-stop-distance"),
        OdtXml::length(Twips::fromPixels(m_document.defaultTextOption().tabStopDistance())));
    QTextCharFormat defaults;
    defaults.setFontFamilies(QStringList{m_document.defaultFont().family()});
    if (m_document.defaultFont().pointSizeF() > 0)
        defaults.setFontPointSize(m_document.defaultFont().pointSizeF());
    xml.writeEmptyElement(QStringLiteral("style:text-properties"));
    OdtProperties::writeText(xml, defaults);
    xml.writeEndElement();
    if (hasSeedText(m_document)) {
        xml.writeEmptyElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), OdtXml::seedTextStyle);
        xml.writeAttribute(QStringLiteral("style:display-name"), QStringLiteral("Seed Text"));
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("text"));
    }
    const PageFurniture furniture = PageFurniture::of(m_document);
    OdtProperties::writeNotesConfiguration(xml, false, furniture.footnotes);
    OdtProperties::writeNotesConfiguration(xml, true, furniture.endnotes);
    xml.writeEndElement();
}

// ODF puts a header inside the page's top margin, the body below it: the page's margin reaches
// the header, and the header's height, which LibreOffice takes to hold the spacing below it,
// fills the rest of the body's margin.
void OdtWriter::writePageLayout(XmlWriter& xml)
{
    const PageFurniture furniture = PageFurniture::of(m_document);
    const bool header = hasStory(furniture, true);
    const bool footer = hasStory(furniture, false);
    const auto& lengths = m_page.lengths;
    xml.writeStartElement(QStringLiteral("style:page-layout"));
    xml.writeAttribute(QStringLiteral("style:name"), s_pageLayout);
    xml.writeEmptyElement(QStringLiteral("style:page-layout-properties"));
    const std::array<const char*, OdtPage::lengthCount> names = {
        "fo:page-width",   "fo:page-height", "fo:margin-left",
        "fo:margin-right", "fo:margin-top",  "fo:margin-bottom"};
    for (size_t index = 0; index < names.size(); ++index) {
        double length = lengths[index];
        if (index == OdtPage::MarginTop && header)
            length = furniture.headerY;
        if (index == OdtPage::MarginBottom && footer)
            length = furniture.footerY;
        xml.writeAttribute(QString::fromLatin1(names[index]), OdtXml::length(length));
    }
    xml.writeAttribute(QStringLiteral("style:print-orientation"),
                       m_page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    const auto writeRoom = [&](bool isHeader, double room) {
        const double spacing = std::min(room, s_furnitureSpacing);
        xml.writeStartElement(isHeader ? QStringLiteral("style:header-style")
                                       : QStringLiteral("style:footer-style"));
        xml.writeEmptyElement(QStringLiteral("style:header-footer-properties"));
        xml.writeAttribute(QStringLiteral("fo:min-height"), OdtXml::length(room));
        xml.writeAttribute(isHeader ? QStringLiteral("fo:margin-bottom")
                                    : QStringLiteral("fo:margin-top"),
                           OdtXml::length(spacing));
        xml.writeEndElement();
    };
    if (header)
        writeRoom(true, std::max(0.0, lengths[OdtPage::MarginTop] - furniture.headerY));
    if (footer)
        writeRoom(false, std::max(0.0, lengths[OdtPage::MarginBottom] - furniture.footerY));
    xml.writeEndElement();
}

QByteArray OdtWriter::meta()
{
    const DocumentInfo info = DocumentInfo::of(m_document);
    XmlWriter xml;
    startRoot(xml, QStringLiteral("office:document-meta"));
    xml.writeStartElement(QStringLiteral("office:meta"));
    xml.writeTextElement(QStringLiteral("meta:generator"), QStringLiteral("Quillmere"));
    if (!info.title.isEmpty())
        xml.writeTextElement(QStringLiteral("dc:title"), info.title);
    if (!info.author.isEmpty()) {
        xml.writeTextElement(QStringLiteral("meta:initial-creator"), info.author);
        xml.writeTextElement(QStringLiteral("dc:creator"), info.author);
    }
    xml.writeEndDocument();
    return xml.take();
}

QByteArray OdtWriter::manifest(const OdtPictures& pictures)
{
    XmlWriter xml;
    startRoot(xml, QStringLiteral("manifest:manifest"));
    const auto entry = [&](const QString& path, const QString& type) {
        xml.writeEmptyElement(QStringLiteral("manifest:file-entry"));
        xml.writeAttribute(QStringLiteral("manifest:full-path"), path);
        if (path == u"/")
            xml.writeAttribute(QStringLiteral("manifest:version"), s_version);
        xml.writeAttribute(QStringLiteral("manifest:media-type"), type);
    };
    entry(QStringLiteral("/"), s_mimeType);
    for (const char* part : {"content.xml", "styles.xml", "meta.xml"})
        entry(QString::fromLatin1(part), QStringLiteral("text/xml"));
    for (const auto& [part, data] : pictures.data)
        entry(part,
              part.endsWith(u".jpg") ? QStringLiteral("image/jpeg") : QStringLiteral("image/png"));
    xml.writeEndDocument();
    return xml.take();
}
