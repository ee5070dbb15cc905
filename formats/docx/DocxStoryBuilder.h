#pragma once

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFormat>

#include <vector>

class QTextList;
class QTextTable;

/// Fills a story of a document (its body, a header or footer, the notes) at a cursor, as the
/// steps DocxContentReader posts say. Nothing else touches it, so while a large body is read on
/// a second thread it stays with the thread that builds the document.
class DocxStoryBuilder
{
public:
    /// Cells a table joins, by the row and column they start in and how many they span.
    struct Merge
    {
        int row, column, rows, columns;
    };

    explicit DocxStoryBuilder(QTextCursor cursor) : m_cursor(std::move(cursor)) {}

    /// Where text goes in: only steps touch it.
    QTextCursor& cursor() { return m_cursor; }
    void moveTo(const QTextCursor& cursor) { m_cursor = cursor; }
    /// Starts a paragraph, in the block at the cursor when it is still unused; the first of a
    /// section is kept until the section ends.
    void openBlock(const QTextBlockFormat& format, const QTextCharFormat& mark, bool unused,
                   bool startsSection);
    /// Makes the paragraph just opened an item of its list, at level of numbering numId.
    void joinList(const QTextListFormat& format, int numId, int level);
    void insertImage(const QByteArray& data, const QTextImageFormat& format);
    void breakPageBefore();
    /// Goes on in a paragraph of its own after a page break, its mark formatted as mark.
    void splitBlock(const QTextCharFormat& mark);
    /// The section's first paragraph starts a page.
    void breakSectionStart();
    /// Opens a table of one row and columns columns after the current paragraph, or in its place
    /// when it is still unused.
    void createTable(const QTextTableFormat& format, int columns, bool afterParagraph);
    void appendRow();
    void widenTable(int columns);
    void moveToCell(int row, int column);
    /// Joins the table's merged cells, gives it the borders found in it and goes on after it.
    void closeTable(const std::vector<Merge>& merges, const QTextTableFormat& borders);

private:
    QTextCursor m_cursor;
    QHash<qint64, QTextList*> m_lists;
    QTextBlock m_sectionStart;
    /// The tables open, the innermost last.
    std::vector<QTextTable*> m_tables;
};
