#include "formats/docx/DocxWriter.h"

#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/TextProperties.h"
#include "formats/docx/DocxBodyWriter.h"
#include "formats/docx/DocxPackage.h"
#include "formats/docx/DocxSection.h"
#include "formats/docx/DocxXml.h"
#include "formats/rtf/RtfReader.h"

#include "formats/base/XmlWriter.h"
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <functional>

namespace {

const QString s_wordType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

/// One writing of a document into a package's parts.
class PackageWriter
{
public:
    PackageWriter(const QTextDocument& document, const RtfPage& page)
        : m_document(document), m_page(page)
    {
    }
    QByteArray write(const Progress& progress);

private:
    /// The part name, and its content as what writes its root element's children.
    void addXmlPart(const QString& name, const QString& contentType, const QString& root,
                    const std::function<void(XmlWriter&)>& content);
    /// A part holding text of story, with relationships of its own for its pictures and links.
    void addStory(const QString& name, const QString& kind, const QString& root,
                  const QTextDocument& story,
                  const std::function<void(XmlWriter&, DocxBodyWriter&)>& content);
    void writeFurniture();
    void writeSection(XmlWriter& xml) const;
    void writeNotes(bool endnotes);
    void writeStyles();
    void writeSettings();
    void writeProperties();
    QByteArray contentTypes() const;

    const QTextDocument& m_document;
    const RtfPage& m_page;
    DocxWriteContext m_context;
    DocxRelations m_relations;
    QList<std::pair<QString, DeflatedPart>> m_parts;
    QList<std::pair<QString, QString>> m_types;
    /// The relationship of each story's part, in the order of PageFurniture::Story.
    std::array<QString, PageFurniture::StoryCount> m_stories;
    PageFurniture m_furniture;
};

void startDocument(XmlWriter& xml, const QString& root)
{
    xml.writeStartDocument(true);
    xml.writeStartElement(root);
}

void PackageWriter::addXmlPart(const QString& name, const QString& contentType, const QString& root,
                               const std::function<void(XmlWriter&)>& content)
{
    XmlWriter xml;
    PartDeflater deflater;
    xml.setSink([&deflater](QByteArray piece) { return deflater.add(std::move(piece)); },
                PartDeflater::pieceSize);
    startDocument(xml, root);
    content(xml);
    xml.writeEndDocument();
    m_parts.append({name, deflater.finish(xml.take())});
    m_types.append({name, contentType});
}

void PackageWriter::addStory(const QString& name, const QString& kind, const QString& root,
                             const QTextDocument& story,
                             const std::function<void(XmlWriter&, DocxBodyWriter&)>& content)
{
    DocxRelations relations;
    addXmlPart(QStringLiteral("word/") + name, s_wordType + kind + QStringLiteral("+xml"), root,
               [&](XmlWriter& xml) {
                   DocxBodyWriter::writeNamespaces(xml);
                   DocxBodyWriter writer(story, m_context, relations, xml);
                   content(xml, writer);
               });
    if (!relations.isEmpty())
        m_parts.append({QStringLiteral("word/_rels/") + name + QStringLiteral(".rels"),
                        PartDeflater::deflate(relations.xml())});
}

QByteArray PackageWriter::write(const Progress& progress)
{
    m_context.textWidth =
        std::max(1440, m_page.lengths[RtfPage::PaperWidth] - m_page.lengths[RtfPage::MarginLeft] -
                           m_page.lengths[RtfPage::MarginRight]);
    DocxBodyWriter::findNotes(m_document, m_context);
    m_context.runDefaults = DocxRunDefaults::of(m_document);
    writeFurniture();
    addXmlPart(QStringLiteral("word/document.xml"),
               s_wordType + QStringLiteral("document.main+xml"), QStringLiteral("w:document"),
               [&](XmlWriter& xml) {
                   DocxBodyWriter::writeNamespaces(xml);
                   xml.writeStartElement(QStringLiteral("w:body"));
                   DocxBodyWriter(m_document, m_context, m_relations, xml).writeStory(progress);
                   writeSection(xml);
                   xml.writeEndElement();
               });
    writeNotes(false);
    writeNotes(true);
    writeStyles();
    if (!m_context.lists.isEmpty()) {
        m_parts.append(
            {QStringLiteral("word/numbering.xml"), PartDeflater::deflate(m_context.lists.xml())});
        m_types.append(
            {QStringLiteral("word/numbering.xml"), s_wordType + QStringLiteral("numbering+xml")});
        m_relations.add(u"numbering", QStringLiteral("numbering.xml"));
    }
    writeSettings();
    for (const auto& [name, bytes] : m_context.media)
        m_parts.append({name, PartDeflater::deflate(bytes)});
    m_parts.append(
        {QStringLiteral("word/_rels/document.xml.rels"), PartDeflater::deflate(m_relations.xml())});
    writeProperties();
    m_parts.prepend({QStringLiteral("[Content_Types].xml"), PartDeflater::deflate(contentTypes())});
    return DocxPackage::zip(m_parts);
}

// Word's odd pages take the right-hand story where there is one.
void PackageWriter::writeFurniture()
{
    m_furniture = PageFurniture::of(m_document);
    for (int story = 0; story < PageFurniture::StoryCount; ++story) {
        const int side = story % (PageFurniture::Footer - PageFurniture::Header);
        const bool header = story < PageFurniture::Footer;
        QByteArray rtf = m_furniture.stories[size_t(story)];
        if (side == PageFurniture::Header && !m_furniture.stories[size_t(story + 2)].isEmpty())
            rtf = m_furniture.stories[size_t(story + 2)];
        if (rtf.isEmpty() || side == PageFurniture::HeaderRight)
            continue;
        QTextDocument text;
        text.setDefaultFont(m_document.defaultFont());
        RtfReader().read(rtf, &text);
        const QString kind = header ? QStringLiteral("header") : QStringLiteral("footer");
        const QString name = kind + QString::number(story + 1) + QStringLiteral(".xml");
        addStory(name, kind, header ? QStringLiteral("w:hdr") : QStringLiteral("w:ftr"), text,
                 [](XmlWriter&, DocxBodyWriter& writer) { writer.writeStory(); });
        m_stories[size_t(story)] = m_relations.add(kind, name);
    }
}

void PackageWriter::writeSection(XmlWriter& xml) const
{
    xml.writeStartElement(QStringLiteral("w:sectPr"));
    static const std::array<QString, 4> types = {QStringLiteral("default"), QStringLiteral("even"),
                                                 QString(), QStringLiteral("first")};
    for (int story = 0; story < PageFurniture::StoryCount; ++story) {
        if (m_stories[size_t(story)].isEmpty())
            continue;
        xml.writeEmptyElement(story < PageFurniture::Footer ? QStringLiteral("w:headerReference")
                                                            : QStringLiteral("w:footerReference"));
        xml.writeAttribute(QStringLiteral("w:type"), types[size_t(story % 4)]);
        xml.writeAttribute(QStringLiteral("r:id"), m_stories[size_t(story)]);
    }
    for (const bool endnotes : {false, true}) {
        if ((endnotes ? m_context.endnotes : m_context.footnotes).isEmpty())
            continue;
        xml.writeStartElement(endnotes ? QStringLiteral("w:endnotePr")
                                       : QStringLiteral("w:footnotePr"));
        DocxNoteNumbering::write(xml, endnotes ? m_furniture.endnotes : m_furniture.footnotes);
        xml.writeEndElement();
    }
    const auto length = [this](RtfPage::Length length) { return m_page.lengths[size_t(length)]; };
    xml.writeEmptyElement(QStringLiteral("w:pgSz"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(length(RtfPage::PaperWidth)));
    xml.writeAttribute(QStringLiteral("w:h"), QString::number(length(RtfPage::PaperHeight)));
    if (m_page.landscape)
        xml.writeAttribute(QStringLiteral("w:orient"), QStringLiteral("landscape"));
    xml.writeEmptyElement(QStringLiteral("w:pgMar"));
    for (const auto& [name, length] :
         {std::pair{"w:top", length(RtfPage::MarginTop)},
          std::pair{"w:right", length(RtfPage::MarginRight)},
          std::pair{"w:bottom", length(RtfPage::MarginBottom)},
          std::pair{"w:left", length(RtfPage::MarginLeft)},
          std::pair{"w:header", m_furniture.headerY}, std::pair{"w:footer", m_furniture.footerY},
          std::pair{"w:gutter", 0}})
        xml.writeAttribute(QLatin1String(name), QString::number(length));
    if (m_furniture.titlePage)
        xml.writeEmptyElement(QStringLiteral("w:titlePg"));
    xml.writeEndElement();
}

// Word expects the separator lines above notes to be notes of their own, numbered -1 and 0.
void PackageWriter::writeNotes(bool endnotes)
{
    const QList<int>& notes = endnotes ? m_context.endnotes : m_context.footnotes;
    if (notes.isEmpty())
        return;
    const QString kind = endnotes ? QStringLiteral("endnote") : QStringLiteral("footnote");
    const QString name = kind + QStringLiteral("s.xml");
    addStory(name, kind + u's', QStringLiteral("w:") + kind + u's', m_document,
             [&](XmlWriter& xml, DocxBodyWriter& writer) {
                 for (const auto& [id, separator] :
                      {std::pair{-1, QStringLiteral("w:separator")},
                       std::pair{0, QStringLiteral("w:continuationSeparator")}}) {
                     xml.writeStartElement(QStringLiteral("w:") + kind);
                     xml.writeAttribute(QStringLiteral("w:type"), separator.sliced(2));
                     xml.writeAttribute(QStringLiteral("w:id"), QString::number(id));
                     xml.writeStartElement(QStringLiteral("w:p"));
                     xml.writeStartElement(QStringLiteral("w:r"));
                     xml.writeEmptyElement(separator);
                     xml.writeEndElement();
                     xml.writeEndElement();
                     xml.writeEndElement();
                 }
                 for (qsizetype index = 0; index < notes.size(); ++index) {
                     xml.writeStartElement(QStringLiteral("w:") + kind);
                     xml.writeAttribute(QStringLiteral("w:id"), QString::number(index + 1));
                     writer.writeNote(notes[index]);
                     xml.writeEndElement();
                 }
             });
    m_relations.add(kind + u's', name);
}

void writeStyle(XmlWriter& xml, const QString& type, const QString& id, const QString& name)
{
    xml.writeStartElement(QStringLiteral("w:style"));
    xml.writeAttribute(QStringLiteral("w:type"), type);
    xml.writeAttribute(QStringLiteral("w:default"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("w:styleId"), id);
    xml.writeEmptyElement(QStringLiteral("w:name"));
    xml.writeAttribute(QStringLiteral("w:val"), name);
    xml.writeEndElement();
}

bool hasSeedText(const QTextDocument& document)
{
    const QList<QTextFormat> formats = document.allFormats();
    return std::any_of(formats.cbegin(), formats.cend(), [](const QTextFormat& format) {
        return format.hasProperty(TextProperties::SeedRun);
    });
}

void writeSeedStyle(XmlWriter& xml)
{
    xml.writeStartElement(QStringLiteral("w:style"));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("character"));
    xml.writeAttribute(QStringLiteral("w:customStyle"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("w:styleId"), QLatin1String(DocxXml::seedTextStyle));
    xml.writeEmptyElement(QStringLiteral("w:name"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("Seed Text"));
    xml.writeEndElement();
}

// Runs without a font or size of their own are in the defaults' font; paragraphs have no space
// around them unless they say so, as in RTF.
void PackageWriter::writeStyles()
{
    const DocxRunDefaults& defaults = m_context.runDefaults;
    addXmlPart(
        QStringLiteral("word/styles.xml"), s_wordType + QStringLiteral("styles+xml"),
        QStringLiteral("w:styles"), [&](XmlWriter& xml) {
            xml.writeAttribute(QStringLiteral("xmlns:w"), QLatin1String(DocxXml::wordNamespace));
            xml.writeStartElement(QStringLiteral("w:docDefaults"));
            xml.writeStartElement(QStringLiteral("w:rPrDefault"));
            xml.writeStartElement(QStringLiteral("w:rPr"));
            xml.writeEmptyElement(QStringLiteral("w:rFonts"));
            for (const auto* name : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
                xml.writeAttribute(QLatin1String(name), defaults.family);
            xml.writeEmptyElement(QStringLiteral("w:sz"));
            xml.writeAttribute(QStringLiteral("w:val"), QString::number(defaults.halfPoints));
            xml.writeEndElement();
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("w:pPrDefault"));
            xml.writeStartElement(QStringLiteral("w:pPr"));
            xml.writeEmptyElement(QStringLiteral("w:spacing"));
            xml.writeAttribute(QStringLiteral("w:after"), QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("w:line"), QStringLiteral("240"));
            xml.writeAttribute(QStringLiteral("w:lineRule"), QStringLiteral("auto"));
            xml.writeEndElement();
            xml.writeEndElement();
            xml.writeEndElement();
            writeStyle(xml, QStringLiteral("paragraph"), QStringLiteral("Normal"),
                       QStringLiteral("Normal"));
            writeStyle(xml, QStringLiteral("character"), QStringLiteral("DefaultParagraphFont"),
                       QStringLiteral("Default Paragraph Font"));
            writeStyle(xml, QStringLiteral("table"), QStringLiteral("TableNormal"),
                       QStringLiteral("Normal Table"));
            if (hasSeedText(m_document))
                writeSeedStyle(xml);
        });
    m_relations.add(u"styles", QStringLiteral("styles.xml"));
}

void PackageWriter::writeSettings()
{
    addXmlPart(QStringLiteral("word/settings.xml"), s_wordType + QStringLiteral("settings+xml"),
               QStringLiteral("w:settings"), [&](XmlWriter& xml) {
                   xml.writeAttribute(QStringLiteral("xmlns:w"),
                                      QLatin1String(DocxXml::wordNamespace));
                   xml.writeEmptyElement(QStringLiteral("w:defaultTabStop"));
                   xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("720"));
                   if (m_furniture.facingPages)
                       xml.writeEmptyElement(QStringLiteral("w:evenAndOddHeaders"));
                   for (const bool endnotes : {false, true}) {
                       if ((endnotes ? m_context.endnotes : m_context.footnotes).isEmpty())
                           continue;
                       const QString kind =
                           endnotes ? QStringLiteral("w:endnote") : QStringLiteral("w:footnote");
                       xml.writeStartElement(kind + QStringLiteral("Pr"));
                       DocxNoteNumbering::write(xml, endnotes ? m_furniture.endnotes
                                                              : m_furniture.footnotes);
                       for (const int id : {-1, 0}) {
                           xml.writeEmptyElement(kind);
                           xml.writeAttribute(QStringLiteral("w:id"), QString::number(id));
                       }
                       xml.writeEndElement();
                   }
               });
    m_relations.add(u"settings", QStringLiteral("settings.xml"));
}

void PackageWriter::writeProperties()
{
    const DocumentInfo info = DocumentInfo::of(m_document);
    addXmlPart(
        QStringLiteral("docProps/core.xml"),
        QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml"),
        QStringLiteral("cp:coreProperties"), [&](XmlWriter& xml) {
            xml.writeAttribute(
                QStringLiteral("xmlns:cp"),
                QStringLiteral(
                    "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"));
            xml.writeAttribute(QStringLiteral("xmlns:dc"),
                               QStringLiteral("http://purl.org/dc/elements/1.1/"));
            if (!info.title.isEmpty())
                xml.writeTextElement(QStringLiteral("dc:title"), info.title);
            if (!info.author.isEmpty())
                xml.writeTextElement(QStringLiteral("dc:creator"), info.author);
        });
    addXmlPart(
        QStringLiteral("docProps/app.xml"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.extended-properties+xml"),
        QStringLiteral("Properties"), [](XmlWriter& xml) {
            xml.writeAttribute(
                QStringLiteral("xmlns"),
                QStringLiteral(
                    "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"));
            xml.writeTextElement(QStringLiteral("Application"), QStringLiteral("Quillmere"));
        });
    DocxRelations package;
    package.add(u"officeDocument", QStringLiteral("word/document.xml"));
    package.add(u"metadata/core-properties", QStringLiteral("docProps/core.xml"));
    package.add(u"extended-properties", QStringLiteral("docProps/app.xml"));
    m_parts.prepend({QStringLiteral("_rels/.rels"), PartDeflater::deflate(package.xml())});
}

QByteArray PackageWriter::contentTypes() const
{
    XmlWriter xml;
    startDocument(xml, QStringLiteral("Types"));
    xml.writeAttribute(
        QStringLiteral("xmlns"),
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    for (const auto& [extension, type] :
         {std::pair{"rels", "application/vnd.openxmlformats-package.relationships+xml"},
          std::pair{"xml", "application/xml"}, std::pair{"png", "image/png"},
          std::pair{"jpeg", "image/jpeg"}}) {
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(extension));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    }
    for (const auto& [part, type] : m_types) {
        xml.writeEmptyElement(QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), u'/' + part);
        xml.writeAttribute(QStringLiteral("ContentType"), type);
    }
    xml.writeEndDocument();
    return xml.take();
}

} // namespace

QByteArray DocxWriter::write(const QTextDocument& document, const RtfPage& page,
                             const Progress& progress)
{
    return PackageWriter(document, page).write(progress);
}
