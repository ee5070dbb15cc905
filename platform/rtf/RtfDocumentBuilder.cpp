#include "platform/rtf/RtfDocumentBuilder.h"

#include "platform/Twips.h"
#include "platform/rtf/RtfCharacterPolicy.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

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
    return format;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument* document)
    : m_document(document), m_undoWasEnabled(document->isUndoRedoEnabled())
{
    // Loading replaces the document wholesale: recording undo steps for it would only cost time.
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    m_cursor = QTextCursor(m_document);
    m_cursor.beginEditBlock();
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
    const qsizetype start = m_run.size();
    m_run.resize(start + text.size());
    QChar* target = m_run.data() + start;
    for (const QChar c : text) {
        if (!RtfCharacterPolicy::isDropped(c.unicode()))
            *target++ = c;
    }
    m_run.resize(target - m_run.constData());
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
    m_cursor.insertImage(format);
    m_paragraphHasText = true;
}

void RtfDocumentBuilder::endParagraph(const RtfParagraphState& paragraph, int markFormatId)
{
    closeParagraph(paragraph, markFormatId);
    m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_paragraphHasText = false;
}

void RtfDocumentBuilder::finish(const RtfParagraphState& paragraph, int markFormatId)
{
    closeParagraph(paragraph, markFormatId);
    m_cursor.endEditBlock();
    m_document->setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, m_formats.at(m_runFormat));
    m_run.resize(0);
    m_paragraphHasText = true;
}

void RtfDocumentBuilder::closeParagraph(const RtfParagraphState& paragraph, int markFormatId)
{
    flushRun();
    // An empty paragraph keeps its formatting on the paragraph mark, e.g. a blank line in 20 pt.
    if (!m_paragraphHasText)
        m_cursor.setBlockCharFormat(m_formats.at(markFormatId));
    if (const QTextBlockFormat format = blockFormat(paragraph); !format.properties().isEmpty())
        m_cursor.setBlockFormat(format);
    joinList(paragraph.list);
}

void RtfDocumentBuilder::joinList(QTextListFormat::Style style)
{
    if (style == QTextListFormat::ListStyleUndefined) {
        m_list = nullptr;
        return;
    }
    const int maxLength =
        RtfCharacterPolicy::isBullet(style) ? s_maxListLength : s_maxNumberedListLength;
    if (m_list && m_list->format().style() == style && m_list->count() < maxLength)
        m_list->add(m_cursor.block());
    else
        m_list = m_cursor.createList(style);
}
