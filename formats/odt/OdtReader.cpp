#include "formats/odt/OdtReader.h"

#include "formats/base/BuildSteps.h"
#include "formats/base/DocumentInfo.h"
#include "formats/odt/OdtBodyReader.h"
#include "formats/odt/OdtPackage.h"
#include "formats/odt/OdtStoryBuilder.h"
#include "formats/odt/OdtXml.h"
#include "formats/rtf/RtfDocumentWriter.h"

#include "formats/base/XmlReader.h"
#include <QCoreApplication>
#include <QTextDocument>

#include <array>

namespace {

using OdtXml::is;
using OdtXml::office;
using OdtXml::style;

constexpr QByteArrayView s_mimeType = "application/vnd.oasis.opendocument.text";
constexpr QStringView s_defaultMasterPage = u"Standard";

QString tr(const char* text)
{
    return QCoreApplication::translate("OdtReader", text);
}

struct StoryElement
{
    QStringView name;
    PageFurniture::Story story;
};

constexpr std::array<StoryElement, 6> s_stories = {{{u"header", PageFurniture::Header},
                                                    {u"header-left", PageFurniture::HeaderLeft},
                                                    {u"header-first", PageFurniture::HeaderFirst},
                                                    {u"footer", PageFurniture::Footer},
                                                    {u"footer-left", PageFurniture::FooterLeft},
                                                    {u"footer-first", PageFurniture::FooterFirst}}};

} // namespace

bool OdtReader::isOdt(QByteArrayView data)
{
    // A zip's first local header: the name's length at 26, the extra field's at 28, the name
    // at 30, then the extra field and the stored content.
    constexpr qsizetype nameAt = 30;
    if (data.size() < nameAt || !data.startsWith("PK\x03\x04"))
        return false;
    const auto word = [&](qsizetype at) { return uchar(data[at]) | uchar(data[at + 1]) << 8; };
    const qsizetype contentAt = nameAt + word(26) + word(28);
    return data.sliced(nameAt).startsWith("mimetype") && word(26) == 8 &&
           contentAt <= data.size() && data.sliced(contentAt).startsWith(s_mimeType);
}

bool OdtReader::read(const QByteArray& data, QTextDocument& document, const Progress& progress)
{
    m_error.clear();
    OdtPackage package(data);
    if (!package.isOpen()) {
        m_error = package.errorString();
        return false;
    }
    if (isEncrypted(package)) {
        m_error = tr("it is protected by a password; open it in LibreOffice and save it "
                     "without one");
        return false;
    }
    if (!package.contains(QStringLiteral("content.xml"))) {
        m_error = tr("it has no text (content.xml); it is damaged or not a text document");
        return false;
    }
    const auto reading = [&](const QString& name, auto readTop) {
        return !package.contains(name) || readPart(package, name, readTop);
    };
    if (!reading(QStringLiteral("styles.xml"),
                 [&](XmlReader& xml, qint64) { readStyles(xml, package, document); }) ||
        !reading(QStringLiteral("meta.xml"),
                 [&](XmlReader& xml, qint64) { readMeta(xml, document); }))
        return false;
    return readContentPart(package, document, progress);
}

bool OdtReader::readContentPart(OdtPackage& package, QTextDocument& document,
                                const Progress& progress)
{
    const QString name = QStringLiteral("content.xml");
    const QByteArray bytes = package.read(name);
    if (!package.isOpen()) {
        m_error = package.errorString();
        return false;
    }
    BuildSteps steps;
    OdtStoryBuilder builder(document);
    Content content;
    bool parsed = false;
    steps.readInParallel(
        [&](const Progress& told) {
            parsed = parsePart(bytes, name, [&](XmlReader& xml, qint64 size) {
                content = readContent(xml, package, builder, steps, told, size);
            });
        },
        progress, bytes.size());
    if (!parsed)
        return false;
    keepPage(content.masterPage, document);
    if (content.notes)
        numberNotes(document);
    return true;
}

bool OdtReader::readPart(OdtPackage& package, const QString& name,
                         const std::function<void(XmlReader&, qint64)>& readTop)
{
    const QByteArray bytes = package.read(name);
    if (!package.isOpen()) {
        m_error = package.errorString();
        return false;
    }
    return parsePart(bytes, name, readTop);
}

bool OdtReader::parsePart(const QByteArray& bytes, const QString& name,
                          const std::function<void(XmlReader&, qint64)>& readTop)
{
    XmlReader xml(bytes);
    if (xml.readNextStartElement())
        readTop(xml, bytes.size());
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (!xml.hasError())
        return true;
    m_error =
        tr("%1, in its part %2 at line %3").arg(xml.errorString(), name).arg(xml.lineNumber());
    return false;
}

bool OdtReader::isEncrypted(OdtPackage& package)
{
    const QString manifest = QStringLiteral("META-INF/manifest.xml");
    if (!package.contains(manifest))
        return false;
    XmlReader xml(package.read(manifest));
    while (!xml.atEnd() && !xml.hasError())
        if (xml.readNext() == XmlReader::StartElement &&
            is(xml, OdtXml::manifest, u"encryption-data"))
            return true;
    return false;
}

void OdtReader::readMeta(XmlReader& xml, QTextDocument& document)
{
    DocumentInfo info;
    QString creator;
    while (xml.readNextStartElement()) {
        if (!is(xml, office, u"meta")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (is(xml, OdtXml::dc, u"title"))
                info.title = xml.readElementText(XmlReader::IncludeChildElements);
            else if (is(xml, OdtXml::meta, u"initial-creator"))
                info.author = xml.readElementText(XmlReader::IncludeChildElements);
            else if (is(xml, OdtXml::dc, u"creator"))
                creator = xml.readElementText(XmlReader::IncludeChildElements);
            else
                xml.skipCurrentElement();
        }
    }
    if (info.author.isEmpty())
        info.author = creator;
    info.keepIn(document);
}

void OdtReader::readStyles(XmlReader& xml, OdtPackage& package, QTextDocument& document)
{
    while (xml.readNextStartElement()) {
        if (m_styles.read(xml))
            continue;
        if (!is(xml, office, u"master-styles")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (is(xml, style, u"master-page"))
                readMasterPage(xml, package, document);
            else
                xml.skipCurrentElement();
        }
    }
}

void OdtReader::readMasterPage(XmlReader& xml, OdtPackage& package, QTextDocument& document)
{
    const QString name = OdtXml::attribute(xml, style, u"name").toString();
    if (m_firstMasterPage.isEmpty())
        m_firstMasterPage = name;
    MasterPage& master = m_masterPages[name];
    master.layout = OdtXml::attribute(xml, style, u"page-layout-name").toString();
    master.next = OdtXml::attribute(xml, style, u"next-style-name").toString();
    while (xml.readNextStartElement()) {
        const auto found =
            std::find_if(s_stories.begin(), s_stories.end(),
                         [&](const StoryElement& each) { return is(xml, style, each.name); });
        if (found == s_stories.end() || OdtXml::attribute(xml, style, u"display") == u"false") {
            xml.skipCurrentElement();
            continue;
        }
        QByteArray& story = master.furniture.stories[size_t(found->story)];
        story = readStory(xml, package, document);
        if (story.isEmpty())
            continue;
        (found->story < PageFurniture::Footer ? master.header : master.footer) = true;
        if (found->story == PageFurniture::HeaderLeft || found->story == PageFurniture::FooterLeft)
            master.furniture.facingPages = true;
        if (found->story == PageFurniture::HeaderFirst ||
            found->story == PageFurniture::FooterFirst)
            master.furniture.titlePage = true;
    }
}

// A header or footer is kept as RTF, which holds all its formatting and page numbers.
QByteArray OdtReader::readStory(XmlReader& xml, OdtPackage& package, QTextDocument& document)
{
    QTextDocument story;
    story.setUndoRedoEnabled(false);
    story.setDefaultFont(document.defaultFont());
    BuildSteps steps;
    OdtStoryBuilder builder(story);
    OdtBodyReader(xml, m_styles, package, builder, steps).read();
    if (story.isEmpty())
        return {};
    return RtfDocumentWriter(story).write();
}

OdtReader::Content OdtReader::readContent(XmlReader& xml, OdtPackage& package,
                                          OdtStoryBuilder& builder, BuildSteps& steps,
                                          const Progress& progress, qint64 total)
{
    Content content;
    while (xml.readNextStartElement()) {
        if (m_styles.read(xml))
            continue;
        if (!is(xml, office, u"body")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (!is(xml, office, u"text")) {
                xml.skipCurrentElement();
                continue;
            }
            OdtBodyReader body(xml, m_styles, package, builder, steps);
            body.read(progress, total);
            content.masterPage = m_styles.masterPageOf(body.firstParagraphStyle());
            content.notes = content.notes || body.hasNotes();
        }
    }
    return content;
}

void OdtReader::numberNotes(QTextDocument& document) const
{
    PageFurniture furniture = PageFurniture::of(document);
    furniture.footnotes = m_styles.notesNumbering(false).value_or(furniture.footnotes);
    furniture.endnotes = m_styles.notesNumbering(true).value_or(furniture.endnotes);
    furniture.keepIn(document);
    furniture.numberNotes(document);
}

// ODF puts a header inside the page's top margin and the body below it; the document keeps the
// body's margin and the header's distance from the paper's edge.
void OdtReader::keepPage(const QString& masterName, QTextDocument& document)
{
    const MasterPage* master = masterPage(masterName);
    if (!master)
        return;
    std::optional<OdtStyleSheet::PageLayout> layout = m_styles.pageLayout(master->layout);
    if (!layout)
        return;
    bool header = false;
    bool footer = false;
    PageFurniture furniture = furnitureOf(*master, &header, &footer);
    OdtPage page = layout->page;
    double& top = page.lengths[OdtPage::MarginTop];
    double& bottom = page.lengths[OdtPage::MarginBottom];
    if (header) {
        furniture.headerY = qRound(top);
        top += layout->headerRoom;
    }
    if (footer) {
        furniture.footerY = qRound(bottom);
        bottom += layout->footerRoom;
    }
    furniture.keepIn(document);
    m_page = page;
}

const OdtReader::MasterPage* OdtReader::masterPage(const QString& name) const
{
    auto found = m_masterPages.constFind(name.isEmpty() ? s_defaultMasterPage.toString() : name);
    if (found == m_masterPages.constEnd())
        found = m_masterPages.constFind(m_firstMasterPage);
    return found == m_masterPages.constEnd() ? nullptr : &*found;
}

PageFurniture OdtReader::furnitureOf(const MasterPage& master, bool* header, bool* footer) const
{
    *header = master.header;
    *footer = master.footer;
    const auto next = m_masterPages.constFind(master.next);
    if (master.next.isEmpty() || next == m_masterPages.constEnd() || &*next == &master)
        return master.furniture;
    PageFurniture furniture = next->furniture;
    furniture.titlePage = true;
    furniture.stories[PageFurniture::HeaderFirst] = master.furniture.stories[PageFurniture::Header];
    furniture.stories[PageFurniture::FooterFirst] = master.furniture.stories[PageFurniture::Footer];
    *header = *header || next->header;
    *footer = *footer || next->footer;
    return furniture;
}
