#include "platform/rtf/RtfDocumentBuilder.h"

#include "platform/rtf/RtfCharacterPolicy.h"

#include <QTextDocument>
#include <QTextList>

namespace {

// Qt revisits every block of a list when one joins it, so one endless list would make reading
// quadratic. Disc bullets look the same split across lists; this bounds the work per paragraph.
constexpr int s_maxListLength = 64;

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

void RtfDocumentBuilder::endParagraph(bool bullet, int markFormatId)
{
    closeParagraph(bullet, markFormatId);
    m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_paragraphHasText = false;
}

void RtfDocumentBuilder::finish(bool bullet, int markFormatId)
{
    closeParagraph(bullet, markFormatId);
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

void RtfDocumentBuilder::closeParagraph(bool bullet, int markFormatId)
{
    flushRun();
    // An empty paragraph keeps its formatting on the paragraph mark, e.g. a blank line in 20 pt.
    if (!m_paragraphHasText)
        m_cursor.setBlockCharFormat(m_formats.at(markFormatId));
    if (!bullet)
        m_list = nullptr;
    else if (m_list && m_list->count() < s_maxListLength)
        m_list->add(m_cursor.block());
    else
        m_list = m_cursor.createList(QTextListFormat::ListDisc);
}
