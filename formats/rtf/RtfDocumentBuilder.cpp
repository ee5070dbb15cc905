#include "formats/rtf/RtfDocumentBuilder.h"

#include "formats/base/Twips.h"
#include "formats/rtf/RtfCharacterPolicy.h"
#include "formats/rtf/RtfDocumentWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <utility>

namespace {

// Qt revisits every block of a list when one joins it, so one endless list would make reading
// quadratic. Disc bullets look the same split across lists; this bounds the work per paragraph.
constexpr int s_maxListLength = 64;
// Numbers restart with each list, so numbered lists are split only when very long.
constexpr int s_maxNumberedListLength = 256;

Qt::Alignment alignmentFor(RtfParagraphState::Alignment alignment)
{
    switch (alignment) {
    case RtfParagraphState::Alignment::Center:
        return Qt::AlignHCenter;
    case RtfParagraphState::Alignment::Right:
        return Qt::AlignRight;
    case RtfParagraphState::Alignment::Justify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

// RTF measures tab stops from the left margin, Qt from where the paragraph's first line starts.
void setTabStops(QTextBlockFormat& format, const RtfParagraphState& paragraph)
{
    const int lineStart = paragraph.leftIndent + paragraph.firstIndent;
    QList<QTextOption::Tab> tabs;
    QString leaders;
    for (const RtfParagraphState::TabStop& stop : paragraph.tabs) {
        tabs.append(
            QTextOption::Tab(Twips::toPixels(stop.position - lineStart), stop.type,
                             stop.type == QTextOption::DelimiterTab ? QChar(u'.') : QChar()));
        leaders.append(QChar(stop.leader));
    }
    format.setTabPositions(tabs);
    if (leaders.trimmed().size() > 0)
        format.setProperty(RtfCharacterPolicy::TabLeadersProperty, leaders);
}

void setLineSpacing(QTextBlockFormat& format, const RtfParagraphState& paragraph)
{
    const int spacing = paragraph.lineSpacing;
    if (spacing < 0)
        format.setLineHeight(Twips::toPixels(-spacing), QTextBlockFormat::FixedHeight);
    else if (paragraph.lineMultiple)
        format.setLineHeight(spacing * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else
        format.setLineHeight(Twips::toPixels(spacing), QTextBlockFormat::MinimumHeight);
}

// Only what differs from a plain paragraph is set, so plain paragraphs keep an empty format.
QTextBlockFormat blockFormat(const RtfParagraphState& paragraph)
{
    QTextBlockFormat format;
    if (paragraph.alignment != RtfParagraphState::Alignment::Left)
        format.setAlignment(alignmentFor(paragraph.alignment));
    // A list brings its own indent, so a list paragraph's indents are not doubled.
    const bool inList = paragraph.list != QTextListFormat::ListStyleUndefined;
    if (!inList && paragraph.leftIndent != 0)
        format.setLeftMargin(Twips::toPixels(paragraph.leftIndent));
    if (!inList && paragraph.rightIndent != 0)
        format.setRightMargin(Twips::toPixels(paragraph.rightIndent));
    if (!inList && paragraph.firstIndent != 0)
        format.setTextIndent(Twips::toPixels(paragraph.firstIndent));
    if (paragraph.spaceBefore != 0)
        format.setTopMargin(Twips::toPixels(paragraph.spaceBefore));
    if (paragraph.spaceAfter != 0)
        format.setBottomMargin(Twips::toPixels(paragraph.spaceAfter));
    if (paragraph.lineSpacing != 0)
        setLineSpacing(format, paragraph);
    if (paragraph.pageBreakBefore || paragraph.newPage)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!paragraph.tabs.isEmpty())
        setTabStops(format, paragraph);
    if (paragraph.note > 0)
        format.setProperty(PageFurniture::NoteBody, paragraph.note);
    if (paragraph.endnote)
        format.setProperty(PageFurniture::Endnote, true);
    return format;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument* document)
    : m_document(document), m_undoWasEnabled(document->isUndoRedoEnabled())
{
    // Loading replaces the document wholesale: recording undo steps for it would only cost time.
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    m_body.cursor = QTextCursor(m_document);
    m_body.cursor.beginEditBlock();
}

void RtfDocumentBuilder::apply(const RtfBuildChunk& chunk)
{
    using Kind = RtfBuildChunk::Command::Kind;
    for (const RtfBuildChunk::Command& command : chunk.commands) {
        switch (command.kind) {
        case Kind::Format:
            m_formats.append(chunk.formats[size_t(command.id)]);
            break;
        case Kind::Paragraph:
            m_blockFormat = blockFormat(chunk.paragraphs[size_t(command.id)]);
            m_list = chunk.paragraphs[size_t(command.id)].list;
            break;
        case Kind::Text:
            insertText(
                QStringView(chunk.text).sliced(qsizetype(command.start), qsizetype(command.length)),
                command.id);
            break;
        case Kind::Image:
            insertImage(chunk.images[size_t(command.id)]);
            break;
        case Kind::EndParagraph:
            endParagraph(command.id);
            break;
        case Kind::StartNote:
            startNote(command.id);
            break;
        case Kind::StartStory:
            startStory(command.id);
            break;
        case Kind::EndNote:
            endNote(command.id);
            break;
        case Kind::Finish:
            finish(command.id, chunk.furniture);
            break;
        }
    }
}

void RtfDocumentBuilder::insertText(QStringView text, int formatId)
{
    // Qt copies the text, so the chunk's own buffer is lent rather than copied first.
    cursor().insertText(QString::fromRawData(text.data(), text.size()), m_formats.at(formatId));
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::insertImage(const RtfBuildChunk::Image& image)
{
    // Named by content, so a picture pasted into another document never takes another's name.
    const QString name =
        QStringLiteral("rtfimage:") +
        QString::fromLatin1(QCryptographicHash::hash(image.data, QCryptographicHash::Sha1).toHex());
    m_target->cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name),
                                             image.data);
    QTextImageFormat format;
    format.setName(name);
    if (image.width > 0)
        format.setWidth(image.width);
    if (image.height > 0)
        format.setHeight(image.height);
    cursor().insertImage(format);
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::endParagraph(int markFormatId)
{
    closeParagraph(markFormatId);
    m_target->paragraphPending = true;
    m_target->paragraphHasText = false;
    ++m_target->paragraphs;
}

void RtfDocumentBuilder::startNote(int headingFormatId)
{
    // The body's cursor stays before the notes, also while the first note opens at its place.
    m_body.cursor.setKeepPositionOnInsert(true);
    if (m_notes.cursor.isNull()) {
        m_notes.cursor = QTextCursor(m_document);
        m_notes.cursor.movePosition(QTextCursor::End);
        const QTextCharFormat& heading = m_formats.at(headingFormatId);
        QTextBlockFormat headingFormat;
        headingFormat.setProperty(PageFurniture::NotesHeading, true);
        m_notes.cursor.insertBlock(headingFormat, heading);
        m_notes.cursor.insertText(QCoreApplication::translate("RtfReader", "Notes"), heading);
    }
    m_notes.blockFormat = QTextBlockFormat();
    m_notes.cursor.insertBlock(m_notes.blockFormat, QTextCharFormat());
    // A list that ended the last note goes on: side by side, the writer makes them one.
    m_notes.paragraphHasText = false;
    m_notes.paragraphs = 0;
    m_target = &m_notes;
}

void RtfDocumentBuilder::startStory(int story)
{
    // A story read twice, as some writers repeat them per section, keeps the last.
    std::unique_ptr<QTextDocument>& document = m_stories[size_t(story)];
    document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_document->defaultFont());
    m_story = Target();
    m_story.cursor = QTextCursor(document.get());
    m_target = &m_story;
}

void RtfDocumentBuilder::endNote(int markFormatId)
{
    // Writers end a note's last paragraph with \par as they would in the body.
    if (!m_target->paragraphHasText && m_target->paragraphs > 0)
        m_target->paragraphPending = false;
    else
        closeParagraph(markFormatId);
    m_target = &m_body;
    // Only the position stays put: the anchor moved on with the notes.
    m_body.cursor.setKeepPositionOnInsert(false);
    m_body.cursor.clearSelection();
}

void RtfDocumentBuilder::finish(int markFormatId, PageFurniture furniture)
{
    closeParagraph(markFormatId);
    keepFurniture(furniture);
    m_body.cursor.endEditBlock();
    m_document->setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentBuilder::keepFurniture(PageFurniture& furniture)
{
    for (size_t story = 0; story < m_stories.size(); ++story)
        if (m_stories[story])
            furniture.stories[story] = RtfDocumentWriter(*m_stories[story]).write();
    furniture.keepIn(*m_document);
}

QTextCursor& RtfDocumentBuilder::cursor(const QTextCharFormat& markFormat)
{
    if (std::exchange(m_target->paragraphPending, false)) {
        m_target->blockFormat = m_blockFormat;
        m_target->cursor.insertBlock(m_target->blockFormat, markFormat);
    }
    return m_target->cursor;
}

void RtfDocumentBuilder::closeParagraph(int markFormatId)
{
    // An empty paragraph keeps its formatting on the paragraph mark, e.g. a blank line in 20 pt.
    if (!m_target->paragraphHasText && !m_target->paragraphPending)
        m_target->cursor.setBlockCharFormat(m_formats.at(markFormatId));
    QTextCursor& cursor =
        this->cursor(m_target->paragraphHasText ? QTextCharFormat() : m_formats.at(markFormatId));
    if (m_blockFormat != m_target->blockFormat)
        cursor.setBlockFormat(m_blockFormat);
    joinList(m_list);
}

void RtfDocumentBuilder::joinList(QTextListFormat::Style style)
{
    QTextList*& list = m_target->list;
    if (style == QTextListFormat::ListStyleUndefined) {
        list = nullptr;
        return;
    }
    const int maxLength =
        RtfCharacterPolicy::isBullet(style) ? s_maxListLength : s_maxNumberedListLength;
    if (list && list->format().style() == style && list->count() < maxLength)
        list->add(cursor().block());
    else
        list = cursor().createList(style);
}
