#include "formats/docx/DocxReader.h"

#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/docx/DocxContentReader.h"
#include "formats/docx/DocxNumbering.h"
#include "formats/docx/DocxPackage.h"
#include "formats/docx/DocxSection.h"
#include "formats/docx/DocxStyles.h"
#include "formats/docx/DocxXml.h"
#include "formats/rtf/RtfDocumentWriter.h"

#include "formats/base/XmlReader.h"
#include <QCoreApplication>
#include <QTextDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView s_zipStart("PK\x03\x04", 4);
constexpr QByteArrayView s_compoundStart("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8);

QString tr(const char* text)
{
    return QCoreApplication::translate("DocxReader", text);
}

// Whether a local header in data names a part only Word packages hold.
bool namesWordPart(QByteArrayView data)
{
    constexpr qsizetype headerSize = 30;
    for (qsizetype at = data.indexOf(s_zipStart); at >= 0 && at + headerSize <= data.size();
         at = data.indexOf(s_zipStart, at + 1)) {
        const qsizetype length = uchar(data[at + 26]) | uchar(data[at + 27]) << 8;
        const QByteArrayView name =
            data.sliced(at + headerSize, std::min(length, data.size() - at - headerSize));
        if (name == "[Content_Types].xml" || name.startsWith("word/"))
            return true;
    }
    return false;
}

// What a compound file is, when it is not read: protected Word files and Word 97-2003 files
// name their streams in UTF-16.
QString compoundFileError(const QByteArray& data)
{
    const auto holds = [&data](QStringView stream) {
        return data.contains(
            QByteArray(reinterpret_cast<const char*>(stream.utf16()), stream.size() * 2));
    };
    if (holds(u"EncryptedPackage"))
        return tr("it is protected by a password; open it in the program that made it and save "
                  "it without one");
    if (holds(u"WordDocument"))
        return tr(
            "it is a Word 97-2003 document, which this program does not read; save it as a "
            "Word document (.docx) or as Rich Text Format (.rtf) in the program that made it");
    return tr("it is an older Office file, not a document this program reads");
}

/// One reading of a package into a new document.
class PackageReader
{
public:
    PackageReader(const QByteArray& data, const Progress& progress)
        : m_data(data), m_progress(progress)
    {
    }
    bool read(QTextDocument& document);
    QString error() const { return m_error; }
    QStringList losses() const { return m_losses; }
    const RtfPage& page() const { return m_section.page; }

private:
    bool readStyles();
    bool readBody(QTextDocument& document, DocxReadContext& context);
    bool readNotes(QTextDocument& document, DocxReadContext& context);
    bool readStory(const QString& relationship, QTextDocument& story, DocxReadContext& context);
    bool readFurniture(QTextDocument& document, DocxReadContext& context);
    /// Reads one child of the settings part's root.
    static void readSetting(XmlReader& xml, PageFurniture& furniture);
    void readInfo(QTextDocument& document);
    /// The part the relationship of that type points to; empty when there is none.
    QString partOf(const DocxRelationships& relationships, QStringView type) const;
    /// Reads part's XML up to its root; false with the reason when it is damaged.
    bool load(const QString& part, QByteArray& bytes);
    bool damaged(const QString& part, const XmlReader& xml);

    const QByteArray& m_data;
    Progress m_progress;
    DocxPackage m_package;
    QString m_documentPart;
    DocxRelationships m_relationships;
    DocxStyles m_styles;
    DocxNumbering m_numbering;
    DocxSection m_section;
    QString m_error;
    QStringList m_losses;
};

QString PackageReader::partOf(const DocxRelationships& relationships, QStringView type) const
{
    for (const DocxRelationship& relationship : relationships)
        if (relationship.is(type) && !relationship.external &&
            m_package.contains(relationship.target))
            return relationship.target;
    return {};
}

bool PackageReader::load(const QString& part, QByteArray& bytes)
{
    const std::optional<QByteArray> read = m_package.read(part);
    if (!read)
        m_error = m_package.error();
    bytes = read.value_or(QByteArray());
    return read.has_value();
}

bool PackageReader::damaged(const QString& part, const XmlReader& xml)
{
    if (!xml.hasError())
        return false;
    m_error = tr("its part %1 is damaged: %2, line %3")
                  .arg(part, xml.errorString())
                  .arg(xml.lineNumber());
    return true;
}

bool PackageReader::read(QTextDocument& document)
{
    if (!m_package.open(m_data)) {
        m_error = m_package.error();
        return false;
    }
    m_documentPart = partOf(m_package.relationships({}), u"officeDocument");
    if (m_documentPart.isEmpty()) {
        m_error = tr("it is a zip package that holds no Word document");
        return false;
    }
    m_relationships = m_package.relationships(m_documentPart);
    if (!readStyles())
        return false;
    DocxReadContext context{m_package, m_styles, m_numbering, {}, {}, 0};
    // One edit of the document, which Qt then lays out once.
    QTextCursor edit(&document);
    edit.beginEditBlock();
    const bool filled = readBody(document, context) && readNotes(document, context);
    edit.endEditBlock();
    if (!filled || !readFurniture(document, context))
        return false;
    readInfo(document);
    m_losses = context.losses.values();
    m_losses.sort();
    return true;
}

bool PackageReader::readStyles()
{
    QByteArray bytes;
    const QString theme = partOf(m_relationships, u"theme");
    if (!theme.isEmpty() && load(theme, bytes))
        m_styles.readTheme(bytes);
    const auto readPart = [&](QStringView type, const auto& parse) {
        const QString part = partOf(m_relationships, type);
        QString error;
        if (part.isEmpty() || (load(part, bytes) && parse(bytes, &error)))
            return true;
        if (!error.isEmpty())
            m_error = tr("its part %1 is damaged: %2").arg(part, error);
        return false;
    };
    return readPart(u"styles", [this](const QByteArray& bytes,
                                      QString* error) { return m_styles.read(bytes, error); }) &&
           readPart(u"numbering", [this](const QByteArray& bytes, QString* error) {
               return m_numbering.read(bytes, error);
           });
}

bool PackageReader::readBody(QTextDocument& document, DocxReadContext& context)
{
    QByteArray bytes;
    if (!load(m_documentPart, bytes))
        return false;
    BuildSteps steps;
    DocxContentReader reader(context, m_relationships, QTextCursor(&document), steps);
    // A section that names no header or footer of some kind has the one before it.
    reader.onSection = [this](XmlReader& xml) {
        DocxSection section;
        section.read(xml);
        for (size_t story = 0; story < section.stories.size(); ++story)
            if (section.stories[story].isEmpty())
                section.stories[story] = m_section.stories[story];
        m_section = section;
        return section.newPage;
    };
    bool read = false;
    steps.readInParallel(
        [&](const Progress& progress) {
            XmlReader xml(bytes);
            DocxXml::readLoosely(xml);
            reader.setProgress(progress, bytes.size());
            if (DocxXml::toRoot(xml)) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"body")
                        reader.readBlocks(xml);
                    else
                        xml.skipCurrentElement();
                }
            }
            read = !damaged(m_documentPart, xml);
        },
        m_progress, bytes.size());
    return read;
}

// The notes go after the body, under a heading, each paragraph carrying its number.
bool PackageReader::readNotes(QTextDocument& document, DocxReadContext& context)
{
    if (context.notes.isEmpty())
        return true;
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat heading;
    heading.setProperty(PageFurniture::NotesHeading, true);
    cursor.insertBlock(heading, QTextCharFormat());
    cursor.insertText(tr("Notes"));
    for (const bool endnote : {false, true}) {
        const QString part = partOf(m_relationships, endnote ? u"endnotes" : u"footnotes");
        QByteArray bytes;
        if (part.isEmpty())
            continue;
        if (!load(part, bytes))
            return false;
        XmlReader xml(bytes);
        DocxXml::readLoosely(xml);
        BuildSteps steps;
        DocxContentReader reader(context, m_package.relationships(part), cursor, steps);
        reader.continueAfter(cursor);
        if (DocxXml::toRoot(xml)) {
            while (xml.readNextStartElement()) {
                const int number = context.notes.value(
                    DocxReadContext::noteKey(endnote, DocxXml::number(xml, "id"_L1).value_or(-1)));
                if (number <= 0) {
                    xml.skipCurrentElement();
                    continue;
                }
                reader.startNote(number, endnote);
                reader.readBlocks(xml);
            }
        }
        if (damaged(part, xml))
            return false;
        cursor.movePosition(QTextCursor::End);
    }
    return true;
}

bool PackageReader::readStory(const QString& relationship, QTextDocument& story,
                              DocxReadContext& context)
{
    const QString part = m_relationships.value(relationship).target;
    QByteArray bytes;
    if (part.isEmpty() || !m_package.contains(part))
        return true;
    if (!load(part, bytes))
        return false;
    XmlReader xml(bytes);
    DocxXml::readLoosely(xml);
    BuildSteps steps;
    DocxContentReader reader(context, m_package.relationships(part), QTextCursor(&story), steps);
    if (DocxXml::toRoot(xml))
        reader.readBlocks(xml);
    return !damaged(part, xml);
}

void PackageReader::readSetting(XmlReader& xml, PageFurniture& furniture)
{
    if (xml.name() == u"footnotePr" || xml.name() == u"endnotePr") {
        Numbering& numbering =
            xml.name() == u"footnotePr" ? furniture.footnotes : furniture.endnotes;
        DocxNoteNumbering given;
        given.read(xml);
        numbering = given.over(numbering);
        return;
    }
    if (xml.name() == u"evenAndOddHeaders")
        furniture.facingPages = DocxXml::isOn(xml);
    xml.skipCurrentElement();
}

bool PackageReader::readFurniture(QTextDocument& document, DocxReadContext& context)
{
    PageFurniture furniture;
    for (size_t story = 0; story < furniture.stories.size(); ++story) {
        if (m_section.stories[story].isEmpty())
            continue;
        QTextDocument text;
        text.setUndoRedoEnabled(false);
        text.setDefaultFont(document.defaultFont());
        if (!readStory(m_section.stories[story], text, context))
            return false;
        if (!text.isEmpty())
            furniture.stories[story] = RtfDocumentWriter(text).write();
    }
    furniture.titlePage = m_section.titlePage;
    furniture.headerY = m_section.headerY;
    furniture.footerY = m_section.footerY;
    const QString settings = partOf(m_relationships, u"settings");
    QByteArray bytes;
    if (!settings.isEmpty() && load(settings, bytes)) {
        XmlReader xml(bytes);
        DocxXml::readLoosely(xml);
        if (DocxXml::toRoot(xml))
            while (xml.readNextStartElement())
                readSetting(xml, furniture);
    }
    // The section's numbering of notes stands over the document's.
    furniture.footnotes = m_section.footnotes.over(furniture.footnotes);
    furniture.endnotes = m_section.endnotes.over(furniture.endnotes);
    furniture.keepIn(document);
    if (context.noteCount > 0)
        furniture.numberNotes(document);
    return true;
}

void PackageReader::readInfo(QTextDocument& document)
{
    const QString part = partOf(m_package.relationships({}), u"core-properties");
    QByteArray bytes;
    if (part.isEmpty() || !load(part, bytes))
        return;
    XmlReader xml(bytes);
    DocxXml::readLoosely(xml);
    DocumentInfo info;
    if (DocxXml::toRoot(xml))
        while (xml.readNextStartElement()) {
            if (xml.name() == u"title")
                info.title = xml.readElementText(XmlReader::SkipChildElements);
            else if (xml.name() == u"creator")
                info.author = xml.readElementText(XmlReader::SkipChildElements);
            else
                xml.skipCurrentElement();
        }
    info.keepIn(document);
}

} // namespace

bool DocxReader::recognises(QByteArrayView data)
{
    return data.startsWith(s_compoundStart) || (data.startsWith(s_zipStart) && namesWordPart(data));
}

bool DocxReader::read(const QByteArray& data, QTextDocument* document, const Progress& progress)
{
    m_losses.clear();
    m_page = RtfPage();
    if (data.startsWith(s_compoundStart)) {
        m_errorString = compoundFileError(data);
        return false;
    }
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    PackageReader reader(data, progress);
    const bool read = reader.read(*document);
    document->setUndoRedoEnabled(undo);
    m_errorString = reader.error();
    m_losses = reader.losses();
    m_page = reader.page();
    return read;
}
