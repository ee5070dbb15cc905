#include "platform/rtf/RtfDocumentBuilder.h"

#include "platform/Twips.h"
#include "platform/rtf/RtfCharacterPolicy.h"

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
    if (!paragraph.tabs.isEmpty())
        setTabStops(format, paragraph);
    return format;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument* document, const RtfParagraphState& paragraph)
    : m_document(document), m_paragraph(paragraph), m_undoWasEnabled(document->isUndoRedoEnabled())
{
    // Loading replaces the document wholesale: recording undo steps for it would only cost time.
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    m_body.cursor = QTextCursor(m_document);
    m_body.cursor.beginEditBlock();
}

int RtfDocumentBuilder::addFormat(const QTextCharFormat& format)
{
    m_formats.append(format);
    return int(m_formats.size() - 1);
}

void RtfDocumentBuilder::appendText(QStringView text, int formatId)
{
    if (formatId != m_runFormat) {
        flushRun();
        m_runFormat = formatId;
    }
    const size_t start = m_run.size();
    m_run.resize(start + size_t(text.size()));
    char16_t* const begin = m_run.data();
    char16_t* target = begin + start;
    // A high surrogate waits at the end of the run for its low half; anything else after it, or
    // a low half with none before, stands alone.
    bool afterHigh = target != begin && QChar::isHighSurrogate(target[-1]);
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (passesAsIs(c) && !afterHigh) {
            *target++ = c;
            continue;
        }
        if (RtfCharacterPolicy::isDropped(c))
            continue;
        if (afterHigh && !QChar::isLowSurrogate(c))
            target[-1] = QChar::ReplacementCharacter;
        *target++ =
            QChar::isLowSurrogate(c) && !afterHigh ? char16_t(QChar::ReplacementCharacter) : c;
        afterHigh = QChar::isHighSurrogate(c);
    }
    m_run.resize(size_t(target - begin));
}

void RtfDocumentBuilder::appendImage(const QByteArray& data, double width, double height)
{
    flushRun();
    // Named by content, so a picture pasted into another document never takes another's name.
    const QString name =
        QStringLiteral("rtfimage:") +
        QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), data);
    QTextImageFormat format;
    format.setName(name);
    if (width > 0)
        format.setWidth(width);
    if (height > 0)
        format.setHeight(height);
    cursor().insertImage(format);
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::endParagraph(const RtfParagraphState& paragraph, int markFormatId)
{
    closeParagraph(paragraph, markFormatId);
    m_target->paragraphPending = true;
    m_target->paragraphHasText = false;
    ++m_target->paragraphs;
}

void RtfDocumentBuilder::startNote(int headingFormatId)
{
    flushRun();
    // The body's cursor stays before the notes, also while the first note opens at its place.
    m_body.cursor.setKeepPositionOnInsert(true);
    if (m_notes.cursor.isNull()) {
        m_notes.cursor = QTextCursor(m_document);
        m_notes.cursor.movePosition(QTextCursor::End);
        const QTextCharFormat& heading = m_formats.at(headingFormatId);
        m_notes.cursor.insertBlock(QTextBlockFormat(), heading);
        m_notes.cursor.insertText(QCoreApplication::translate("RtfReader", "Notes"), heading);
    }
    m_notes.blockFormat = QTextBlockFormat();
    m_notes.cursor.insertBlock(m_notes.blockFormat, QTextCharFormat());
    // A list that ended the last note goes on: side by side, the writer makes them one.
    m_notes.paragraphHasText = false;
    m_notes.paragraphs = 0;
    m_target = &m_notes;
}

void RtfDocumentBuilder::endNote(const RtfParagraphState& paragraph, int markFormatId)
{
    if (m_target != &m_notes)
        return;
    // Writers end a note's last paragraph with \par as they would in the body.
    if (paragraphIsEmpty() && m_notes.paragraphs > 0)
        m_notes.paragraphPending = false;
    else
        closeParagraph(paragraph, markFormatId);
    m_target = &m_body;
    // Only the position stays put: the anchor moved on with the notes.
    m_body.cursor.setKeepPositionOnInsert(false);
    m_body.cursor.clearSelection();
}

void RtfDocumentBuilder::finish(const RtfParagraphState& paragraph, int markFormatId)
{
    closeParagraph(paragraph, markFormatId);
    m_body.cursor.endEditBlock();
    m_document->setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.empty())
        return;
    if (QChar::isHighSurrogate(m_run.back()))
        m_run.back() = QChar::ReplacementCharacter;
    // Qt copies the text, so the run's own buffer is lent rather than copied first.
    cursor().insertText(
        QString::fromRawData(reinterpret_cast<const QChar*>(m_run.data()), qsizetype(m_run.size())),
        m_formats.at(m_runFormat));
    m_run.clear();
    m_target->paragraphHasText = true;
}

QTextCursor& RtfDocumentBuilder::cursor(const QTextCharFormat& markFormat)
{
    if (std::exchange(m_target->paragraphPending, false)) {
        m_target->blockFormat = formatOf(m_paragraph);
        m_target->cursor.insertBlock(m_target->blockFormat, markFormat);
    }
    return m_target->cursor;
}

// Leaves m_lastBlockFormat the format of paragraph.
void RtfDocumentBuilder::closeParagraph(const RtfParagraphState& paragraph, int markFormatId)
{
    flushRun();
    // An empty paragraph keeps its formatting on the paragraph mark, e.g. a blank line in 20 pt.
    if (!m_target->paragraphHasText && !m_target->paragraphPending)
        m_target->cursor.setBlockCharFormat(m_formats.at(markFormatId));
    QTextCursor& cursor =
        this->cursor(m_target->paragraphHasText ? QTextCharFormat() : m_formats.at(markFormatId));
    if (const QTextBlockFormat& format = formatOf(paragraph); format != m_target->blockFormat)
        cursor.setBlockFormat(format);
    joinList(paragraph.list);
}

const QTextBlockFormat& RtfDocumentBuilder::formatOf(const RtfParagraphState& paragraph)
{
    if (!(paragraph == m_lastParagraph)) {
        m_lastParagraph = paragraph;
        m_lastBlockFormat = blockFormat(paragraph);
    }
    return m_lastBlockFormat;
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
