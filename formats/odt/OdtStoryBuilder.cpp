#include "formats/odt/OdtStoryBuilder.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/ReadingBounds.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

OdtStoryBuilder::OdtStoryBuilder(QTextDocument& document) : m_document(document)
{
    m_body.cursor = QTextCursor(&document);
}

void OdtStoryBuilder::openNotes(const QString& heading)
{
    // The body's cursor stays before the notes while the first note opens where it stands.
    m_body.cursor.setKeepPositionOnInsert(true);
    if (m_notes.cursor.isNull()) {
        m_notes.cursor = QTextCursor(&m_document);
        m_notes.cursor.movePosition(QTextCursor::End);
        QTextBlockFormat format;
        format.setProperty(PageFurniture::NotesHeading, true);
        m_notes.cursor.insertBlock(format, QTextCharFormat());
        m_notes.cursor.insertText(heading);
        m_notes.fresh = false;
    }
    m_target = &m_notes;
    m_notes.lists.clear();
}

void OdtStoryBuilder::closeNotes()
{
    m_target = &m_body;
    // Only the position stayed put: the anchor moved on with the notes.
    m_body.cursor.setKeepPositionOnInsert(false);
    m_body.cursor.clearSelection();
}

void OdtStoryBuilder::startParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars)
{
    Target& target = *m_target;
    if (std::exchange(target.fresh, false)) {
        target.cursor.setBlockFormat(block);
        target.cursor.setBlockCharFormat(chars);
    } else {
        target.cursor.insertBlock(block, chars);
    }
}

void OdtStoryBuilder::joinList(int level, const QTextListFormat& format)
{
    Target& target = *m_target;
    if (target.lists.size() < size_t(level))
        target.lists.resize(size_t(level), nullptr);
    QTextList*& list = target.lists[size_t(level - 1)];
    const int longest = RtfCharacterPolicy::isBullet(format.style())
                            ? ReadingBounds::listLength
                            : ReadingBounds::numberedListLength;
    if (list && list->count() < longest)
        list->add(target.cursor.block());
    else
        list = target.cursor.createList(format);
}

void OdtStoryBuilder::endListsFrom(int level)
{
    std::vector<QTextList*>& lists = m_target->lists;
    if (lists.size() >= size_t(level))
        lists.resize(size_t(level - 1));
}

void OdtStoryBuilder::insertImage(const QByteArray& data, const QTextImageFormat& format)
{
    m_document.addResource(QTextDocument::ImageResource, QUrl(format.name()), data);
    m_target->cursor.insertImage(format);
}

void OdtStoryBuilder::prepareTable()
{
    Target& target = *m_target;
    if (!target.fresh || target.cursor.block().length() != 1)
        return;
    QTextCursor before = target.cursor;
    if (before.movePosition(QTextCursor::PreviousBlock) &&
        before.currentFrame() == target.cursor.currentFrame()) {
        target.cursor.deletePreviousChar();
        target.fresh = false;
    }
}

void OdtStoryBuilder::createTable(int columns)
{
    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    m_tables.push_back(m_target->cursor.insertTable(1, columns, format));
}

void OdtStoryBuilder::appendRow()
{
    m_tables.back()->appendRows(1);
}

void OdtStoryBuilder::appendColumn()
{
    m_tables.back()->appendColumns(1);
}

void OdtStoryBuilder::enterCell(int row, int column)
{
    Target& target = *m_target;
    m_outside.push_back(target);
    target.cursor = m_tables.back()->cellAt(row, column).lastCursorPosition();
    target.fresh = target.cursor.block().length() == 1;
    target.lists.clear();
}

void OdtStoryBuilder::leaveCell()
{
    *m_target = std::move(m_outside.back());
    m_outside.pop_back();
}

void OdtStoryBuilder::finishTable(const std::vector<Merge>& merges, const QTextTableFormat& format)
{
    QTextTable& table = *m_tables.back();
    m_tables.pop_back();
    for (const Merge& merge : merges) {
        const int rows = std::min(merge.rows, table.rows() - merge.row);
        const int columns = std::min(merge.columns, table.columns() - merge.column);
        table.mergeCells(merge.row, merge.column, rows, columns);
        // Each cell joined brings its empty paragraph along; they go again.
        const QTextTableCell merged = table.cellAt(merge.row, merge.column);
        for (int left = rows * columns - 1; left > 0; --left) {
            QTextCursor last = merged.lastCursorPosition();
            if (last.block().length() > 1 || last.position() <= merged.firstPosition())
                break;
            last.deletePreviousChar();
        }
    }
    QTextTableFormat merged = table.format();
    merged.merge(format);
    table.setFormat(merged);
    Target& target = *m_target;
    target.cursor = table.lastCursorPosition();
    target.cursor.movePosition(QTextCursor::NextBlock);
    target.fresh = true;
    target.lists.clear();
}
