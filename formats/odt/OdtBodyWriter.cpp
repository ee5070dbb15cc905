#include "formats/odt/OdtBodyWriter.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/PictureBytes.h"
#include "formats/base/SeedRunXml.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/odt/OdtAutoStyles.h"
#include "formats/odt/OdtXml.h"

#include "formats/base/XmlWriter.h"
#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int s_progressStep = 1024;
constexpr int s_maxListLevel = 10;

bool isWritable(QChar c)
{
    return c.unicode() >= 0x20 && c != QChar::ObjectReplacementCharacter && c.unicode() < 0xfffe;
}

// Neither white space nor a character left out.
bool isOrdinary(QChar c)
{
    return c > u' ' && c < QChar::ObjectReplacementCharacter && c != QChar::LineSeparator;
}

} // namespace

OdtBodyWriter::OdtBodyWriter(const QTextDocument& document, XmlWriter& xml, OdtAutoStyles& styles,
                             OdtPictures& pictures)
    : m_document(document), m_xml(xml), m_styles(styles), m_pictures(pictures)
{
}

void OdtBodyWriter::write(const Progress& progress)
{
    m_progress = progress;
    m_text = m_document.toRawText();
    findNotes();
    writeFrame(m_document.rootFrame()->begin());
    closeLists(0);
}

// Notes are written at their marks; a note whose mark was deleted stays where it is, as
// paragraphs of the body.
void OdtBodyWriter::findNotes()
{
    m_lastBlock = m_document.lastBlock();
    const QList<QTextFormat> formats = m_document.allFormats();
    if (std::none_of(formats.begin(), formats.end(), [](const QTextFormat& format) {
            return format.hasProperty(PageFurniture::NoteBody);
        }))
        return;
    QHash<int, QList<QTextBlock>> notes;
    QSet<int> marked;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (const int note = format.intProperty(PageFurniture::NoteBody)) {
            notes[note].append(block);
            continue;
        }
        m_hasNotes = m_hasNotes || format.hasProperty(PageFurniture::NotesHeading);
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments)
            if (const int note =
                    fragments.fragment().charFormat().intProperty(PageFurniture::NoteMark))
                marked.insert(note);
    }
    for (auto note = notes.cbegin(); note != notes.cend(); ++note)
        if (marked.contains(note.key()))
            m_notes.insert(note.key(), note.value());
    m_hasNotes = m_hasNotes && !m_notes.isEmpty();
    while (m_lastBlock.previous().isValid() && isPlacedNote(m_lastBlock.blockFormat()))
        m_lastBlock = m_lastBlock.previous();
}

bool OdtBodyWriter::isPlacedNote(const QTextBlockFormat& format) const
{
    return m_notes.contains(format.intProperty(PageFurniture::NoteBody)) ||
           (m_hasNotes && format.hasProperty(PageFurniture::NotesHeading));
}

void OdtBodyWriter::writeFrame(QTextFrame::iterator it)
{
    for (; !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            closeLists(0);
            writeTable(*table);
        } else if (const QTextFrame* frame = it.currentFrame()) {
            writeFrame(frame->begin());
        } else {
            writeBlock(it.currentBlock());
        }
    }
}

void OdtBodyWriter::writeBlock(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    if (!m_inNote && isPlacedNote(format))
        return;
    // The empty paragraph a document ends with, as Qt keeps one after a table or a last
    // paragraph mark, is no paragraph of the text.
    if (block == m_lastBlock && block.length() == 1 && !block.textList() &&
        QTextCursor(block).currentFrame() == m_document.rootFrame())
        return;
    placeInList(block);
    m_xml.writeStartElement(QStringLiteral("text:p"));
    int charsIndex = block.length() == 1 ? block.charFormatIndex() : -1;
    QTextCharFormat chars = charsIndex >= 0 ? block.charFormat() : QTextCharFormat();
    // A note's number, which its mark at the paragraph's start stands for, is read in the
    // paragraph's font: the mark's font goes on the paragraph.
    if (const auto first = m_inNote ? block.begin() : QTextBlock::iterator();
        !first.atEnd() && first.fragment().charFormat().hasProperty(PageFurniture::NoteMark)) {
        charsIndex = first.fragment().charFormatIndex();
        chars = first.fragment().charFormat();
        chars.clearProperty(QTextFormat::TextVerticalAlignment);
        chars.clearProperty(PageFurniture::NoteMark);
    }
    m_xml.writeAttribute(QStringLiteral("text:style-name"),
                         m_styles.paragraphStyle(block.blockFormatIndex(), format, charsIndex,
                                                 chars, std::exchange(m_firstPage, QString())));
    writeFragments(block);
    m_xml.writeEndElement();
    if (m_progress && ++m_written % s_progressStep == 0)
        m_progress(m_written, m_document.blockCount());
}

// Lists nest as their levels do: an item of a deeper level goes in a list inside the item
// before it.
void OdtBodyWriter::placeInList(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    const size_t level = list ? size_t(std::clamp(list->format().indent(), 1, s_maxListLevel)) : 0;
    if (level < m_levels.size())
        closeLists(level);
    if (level > 0 && m_levels.size() == level && m_levels.back().list != list)
        closeLists(level - 1);
    if (level == 0)
        return;
    while (m_levels.size() < level) {
        if (!m_levels.empty() && !m_levels.back().itemOpen) {
            m_xml.writeStartElement(QStringLiteral("text:list-item"));
            m_levels.back().itemOpen = true;
        }
        m_xml.writeStartElement(QStringLiteral("text:list"));
        m_xml.writeAttribute(QStringLiteral("text:style-name"),
                             m_styles.listStyle(list->format(), int(level)));
        if (m_levels.size() + 1 == level && m_listsWritten.contains(list))
            m_xml.writeAttribute(QStringLiteral("text:continue-numbering"), QStringLiteral("true"));
        m_levels.push_back(Level());
    }
    Level& current = m_levels.back();
    current.list = list;
    m_listsWritten.insert(list);
    if (current.itemOpen)
        m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("text:list-item"));
    current.itemOpen = true;
}

void OdtBodyWriter::closeLists(size_t keep)
{
    while (m_levels.size() > keep) {
        if (m_levels.back().itemOpen)
            m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_levels.pop_back();
    }
}

void OdtBodyWriter::writeFragments(const QTextBlock& block)
{
    m_afterSpace = true;
    const QStringView text = QStringView(m_text).sliced(block.position(), block.length() - 1);
    qsizetype at = 0;
    for (auto it = block.begin(); !it.atEnd();) {
        const QTextFragment fragment = it.fragment();
        const int length = fragment.length();
        ++it;
        writeRun(fragment, text.sliced(at, length), it.atEnd());
        at += length;
    }
    writeLink(QString());
}

void OdtBodyWriter::writeLink(const QString& href)
{
    if (href == m_openLink)
        return;
    if (!m_openLink.isEmpty())
        m_xml.writeEndElement();
    if (!href.isEmpty()) {
        m_xml.writeStartElement(QStringLiteral("text:a"));
        m_xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
        m_xml.writeAttribute(QStringLiteral("xlink:href"), href);
    }
    m_openLink = href;
}

void OdtBodyWriter::writeRun(const QTextFragment& fragment, QStringView text, bool last)
{
    // Most runs are text in a format met before, with nothing more to them.
    if (const auto span = m_plainSpans.constFind(fragment.charFormatIndex());
        span != m_plainSpans.cend()) {
        writeLink(QString());
        m_xml.writeRaw(*span);
        writeText(text, last);
        if (!span->isEmpty())
            m_xml.writeRaw("</text:span>");
        return;
    }
    const QTextCharFormat format = fragment.charFormat();
    const int note = format.intProperty(PageFurniture::NoteMark);
    // A note's own mark is the citation its note element makes.
    if (note != 0 && m_inNote) {
        m_afterMark = true;
        return;
    }
    writeLink(format.isAnchor() ? format.anchorHref() : QString());
    if (format.isImageFormat()) {
        for (int image = 0; image < fragment.length(); ++image)
            writeImage(format.toImageFormat());
        return;
    }
    if (format.objectType() == TextProperties::HiddenTextObject)
        return;
    // Seed words carry the character style other programs show them by.
    const bool seed = format.hasProperty(TextProperties::SeedRun);
    if (seed) {
        m_xml.writeStartElement(QStringLiteral("text:span"));
        m_xml.writeAttribute(QStringLiteral("text:style-name"), OdtXml::seedTextStyle);
        SeedRunXml::write(m_xml, format);
    }
    const QString style = m_styles.textStyle(fragment.charFormatIndex(), format);
    if (!style.isEmpty()) {
        m_xml.writeStartElement(QStringLiteral("text:span"));
        m_xml.writeAttribute(QStringLiteral("text:style-name"), style);
    }
    if (!seed && note == 0 && !format.isAnchor() && !format.boolProperty(PageFurniture::PageNumber))
        notePlainSpan(fragment.charFormatIndex(), style);
    // A note's mark keeps its font, as the span around the note.
    if (note != 0 && m_notes.contains(note)) {
        writeNote(note, fragment.text(), format.boolProperty(PageFurniture::CustomMark));
    } else if (format.boolProperty(PageFurniture::PageNumber)) {
        m_xml.writeStartElement(QStringLiteral("text:page-number"));
        m_xml.writeAttribute(QStringLiteral("text:select-page"), QStringLiteral("current"));
        writeText(text, false);
        m_xml.writeEndElement();
    } else {
        writeText(text, last);
    }
    if (!style.isEmpty())
        m_xml.writeEndElement();
    if (seed)
        m_xml.writeEndElement();
}

void OdtBodyWriter::notePlainSpan(int formatIndex, const QString& style)
{
    XmlWriter span;
    if (!style.isEmpty()) {
        span.writeStartElement(QStringLiteral("text:span"));
        span.writeAttribute(QStringLiteral("text:style-name"), style);
        span.writeRaw({});
    }
    m_plainSpans.insert(formatIndex, span.take());
}

// Readers collapse runs of white space and drop it at a paragraph's ends: spaces beyond the
// first, and spaces at either end, are written as text:s.
void OdtBodyWriter::writeText(QStringView text, bool endsParagraph)
{
    // What stands between a note's number and its text is the note's own indent.
    if (std::exchange(m_afterMark, false) && !text.isEmpty() &&
        (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    qsizetype plain = 0;
    const auto flush = [&](qsizetype upTo) {
        if (upTo > plain)
            m_xml.writeCharacters(text.sliced(plain, upTo - plain));
    };
    for (qsizetype at = 0; at < text.size();) {
        // Most characters are none of those below.
        if (isOrdinary(text[at])) {
            do
                ++at;
            while (at < text.size() && isOrdinary(text[at]));
            m_afterSpace = false;
            continue;
        }
        const QChar c = text[at];
        if (c == u' ' && (m_afterSpace || (at + 1 < text.size() && text[at + 1] == u' ') ||
                          (endsParagraph && at + 1 == text.size()))) {
            qsizetype spaces = 1;
            while (at + spaces < text.size() && text[at + spaces] == u' ')
                ++spaces;
            const bool literal = !m_afterSpace && !(endsParagraph && at + spaces == text.size());
            flush(at + qsizetype(literal));
            m_xml.writeEmptyElement(QStringLiteral("text:s"));
            if (spaces - qsizetype(literal) > 1)
                m_xml.writeAttribute(QStringLiteral("text:c"),
                                     QString::number(spaces - qsizetype(literal)));
            m_afterSpace = false;
            at += spaces;
            plain = at;
            continue;
        }
        if (c == u' ') {
            m_afterSpace = true;
        } else if (c == u'\t' || c == QChar::LineSeparator || c == u'\n') {
            flush(at);
            m_xml.writeEmptyElement(c == u'\t' ? QStringLiteral("text:tab")
                                               : QStringLiteral("text:line-break"));
            m_afterSpace = false;
            plain = at + 1;
        } else if (!isWritable(c)) {
            flush(at);
            plain = at + 1;
        } else {
            m_afterSpace = false;
        }
        ++at;
    }
    flush(text.size());
}

void OdtBodyWriter::writeImage(const QTextImageFormat& format)
{
    QString part = m_pictures.parts.value(format.name());
    if (part.isEmpty()) {
        const PictureBytes picture = PictureBytes::of(
            m_document.resource(QTextDocument::ImageResource, QUrl(format.name())));
        const QByteArray& data = picture.data;
        const QString extension =
            picture.kind == PictureBytes::Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".png");
        if (data.isEmpty())
            return;
        part =
            QStringLiteral("Pictures/") +
            QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()) +
            extension;
        m_pictures.parts.insert(format.name(), part);
        if (!m_pictures.sizes.contains(part)) {
            m_pictures.data.emplace_back(part, data);
            m_pictures.sizes.insert(part, QImage::fromData(data).size());
        }
    }
    const QSize size = m_pictures.sizes.value(part);
    const double width = format.width() > 0 ? format.width() : size.width();
    const double height = format.height() > 0 ? format.height() : size.height();
    m_xml.writeStartElement(QStringLiteral("draw:frame"));
    m_xml.writeAttribute(QStringLiteral("draw:name"),
                         QStringLiteral("Picture ") + QString::number(++m_frames));
    m_xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
    m_xml.writeAttribute(QStringLiteral("svg:width"), OdtXml::length(Twips::fromPixels(width)));
    m_xml.writeAttribute(QStringLiteral("svg:height"), OdtXml::length(Twips::fromPixels(height)));
    m_xml.writeAttribute(QStringLiteral("draw:z-index"), QStringLiteral("0"));
    m_xml.writeEmptyElement(QStringLiteral("draw:image"));
    m_xml.writeAttribute(QStringLiteral("xlink:href"), part);
    m_xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    m_xml.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
    m_xml.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    m_xml.writeEndElement();
    m_afterSpace = false;
}

// The citation shows the mark's own text: readers number notes themselves unless given a label.
void OdtBodyWriter::writeNote(int note, const QString& mark, bool custom)
{
    const QList<QTextBlock>& blocks = m_notes[note];
    const bool endnote = blocks.first().blockFormat().boolProperty(PageFurniture::Endnote);
    m_xml.writeStartElement(QStringLiteral("text:note"));
    m_xml.writeAttribute(QStringLiteral("text:id"), QStringLiteral("ftn") + QString::number(note));
    m_xml.writeAttribute(QStringLiteral("text:note-class"),
                         endnote ? QStringLiteral("endnote") : QStringLiteral("footnote"));
    m_xml.writeStartElement(QStringLiteral("text:note-citation"));
    if (custom)
        m_xml.writeAttribute(QStringLiteral("text:label"), mark);
    m_xml.writeCharacters(mark);
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("text:note-body"));
    std::vector<Level> levels = std::exchange(m_levels, {});
    const QString link = std::exchange(m_openLink, QString());
    m_inNote = true;
    for (const QTextBlock& block : blocks)
        writeBlock(block);
    closeLists(0);
    m_inNote = false;
    m_openLink = link;
    m_levels = std::move(levels);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_afterSpace = false;
}

void OdtBodyWriter::writeTable(const QTextTable& table)
{
    const QTextTableFormat format = table.format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    const bool fixed =
        constraints.size() == table.columns() &&
        std::all_of(constraints.begin(), constraints.end(), [](const QTextLength& length) {
            return length.type() == QTextLength::FixedLength && length.rawValue() > 0;
        });
    double width = 0;
    for (const QTextLength& length : constraints)
        width += fixed ? Twips::fromPixels(length.rawValue()) : 0;
    const double border = format.borderStyle() == QTextFrameFormat::BorderStyle_None ? 0
                          : format.hasProperty(TextProperties::TableBorderTwips)
                              ? format.intProperty(TextProperties::TableBorderTwips)
                              : Twips::fromPixels(format.border());
    const QString cellStyle = m_styles.cellStyle(border, Twips::fromPixels(format.cellPadding()));
    m_xml.writeStartElement(QStringLiteral("table:table"));
    m_xml.writeAttribute(QStringLiteral("table:name"),
                         QStringLiteral("Table") + QString::number(++m_tables));
    m_xml.writeAttribute(
        QStringLiteral("table:style-name"),
        m_styles.tableStyle(width, Twips::fromPixels(format.leftMargin()),
                            format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    for (int column = 0; column < table.columns(); ++column) {
        m_xml.writeEmptyElement(QStringLiteral("table:table-column"));
        if (fixed)
            m_xml.writeAttribute(
                QStringLiteral("table:style-name"),
                m_styles.columnStyle(Twips::fromPixels(constraints[column].rawValue())));
    }
    for (int row = 0; row < table.rows(); ++row) {
        m_xml.writeStartElement(QStringLiteral("table:table-row"));
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                writeCell(cell, cellStyle);
            else
                m_xml.writeEmptyElement(QStringLiteral("table:covered-table-cell"));
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
}

void OdtBodyWriter::writeCell(const QTextTableCell& cell, const QString& style)
{
    m_xml.writeStartElement(QStringLiteral("table:table-cell"));
    m_xml.writeAttribute(QStringLiteral("table:style-name"), style);
    m_xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    if (cell.columnSpan() > 1)
        m_xml.writeAttribute(QStringLiteral("table:number-columns-spanned"),
                             QString::number(cell.columnSpan()));
    if (cell.rowSpan() > 1)
        m_xml.writeAttribute(QStringLiteral("table:number-rows-spanned"),
                             QString::number(cell.rowSpan()));
    std::vector<Level> levels = std::exchange(m_levels, {});
    writeFrame(cell.begin());
    closeLists(0);
    m_levels = std::move(levels);
    m_xml.writeEndElement();
}
