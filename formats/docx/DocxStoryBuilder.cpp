#include "formats/docx/DocxStoryBuilder.h"

#include "formats/base/ReadingBounds.h"
#include "formats/base/TextProperties.h"
#include "formats/docx/DocxNumbering.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

void DocxStoryBuilder::openBlock(const QTextBlockFormat& format, const QTextCharFormat& mark,
                                 bool unused, bool startsSection)
{
    if (unused) {
        m_cursor.setBlockFormat(format);
        m_cursor.setBlockCharFormat(mark);
    } else {
        m_cursor.insertBlock(format, mark);
    }
    if (startsSection)
        m_sectionStart = m_cursor.block();
}

// A level's paragraphs make one list until a paragraph of a level above it numbers on.
void DocxStoryBuilder::joinList(const QTextListFormat& format, int numId, int level)
{
    const auto key = [numId](int level) { return (qint64(numId) << 4) | level; };
    for (int deeper = level + 1; deeper < DocxNumbering::levelCount; ++deeper)
        m_lists.remove(key(deeper));
    QTextList*& list = m_lists[key(level)];
    const int maxLength = RtfCharacterPolicy::isBullet(format.style())
                              ? ReadingBounds::listLength
                              : ReadingBounds::numberedListLength;
    if (list && list->format() == format && list->count() < maxLength)
        list->add(m_cursor.block());
    else
        list = m_cursor.createList(format);
}

void DocxStoryBuilder::insertImage(const QByteArray& data, const QTextImageFormat& format)
{
    m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), data);
    m_cursor.insertImage(format);
}

void DocxStoryBuilder::breakPageBefore()
{
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.mergeBlockFormat(format);
}

void DocxStoryBuilder::splitBlock(const QTextCharFormat& mark)
{
    QTextBlockFormat format = m_cursor.blockFormat();
    format.clearProperty(QTextFormat::ObjectIndex);
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.insertBlock(format, mark);
}

void DocxStoryBuilder::breakSectionStart()
{
    if (!m_sectionStart.isValid())
        return;
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(m_sectionStart).mergeBlockFormat(format);
}

void DocxStoryBuilder::createTable(const QTextTableFormat& format, int columns, bool afterParagraph)
{
    if (afterParagraph)
        m_cursor.movePosition(QTextCursor::EndOfBlock);
    m_tables.push_back(m_cursor.insertTable(1, columns, format));
    m_lists.clear();
}

void DocxStoryBuilder::appendRow()
{
    m_tables.back()->appendRows(1);
}

void DocxStoryBuilder::widenTable(int columns)
{
    QTextTable& table = *m_tables.back();
    if (columns > table.columns())
        table.appendColumns(columns - table.columns());
}

void DocxStoryBuilder::moveToCell(int row, int column)
{
    m_cursor = m_tables.back()->cellAt(row, column).firstCursorPosition();
    m_lists.clear();
}

void DocxStoryBuilder::closeTable(const std::vector<Merge>& merges, const QTextTableFormat& borders)
{
    QTextTable* const table = m_tables.back();
    m_tables.pop_back();
    for (const Merge& merge : merges)
        if (merge.rows > 1 || merge.columns > 1)
            table->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
    QTextTableFormat format = table->format();
    format.setBorder(borders.border());
    format.setBorderStyle(borders.borderStyle());
    if (borders.hasProperty(TextProperties::TableBorderTwips))
        format.setProperty(TextProperties::TableBorderTwips,
                           borders.property(TextProperties::TableBorderTwips));
    table->setFormat(format);
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_lists.clear();
}
