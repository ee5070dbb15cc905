#pragma once

#include <QTextCursor>
#include <QTextFormat>

#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

/// Fills a document, or a header's or footer's, with what OdtBodyReader posts as steps: its
/// body, and the notes it gathers after the body. Nothing else touches it, so while a large body
/// is read on a second thread it stays with the thread that builds the document.
class OdtStoryBuilder
{
public:
    /// Cells a table joins, by the row and column they start in and how many they span.
    struct Merge
    {
        int row, column, rows, columns;
    };

    explicit OdtStoryBuilder(QTextDocument& document);

    /// Where the body's text, or the notes', goes in: only steps touch it.
    QTextCursor& cursor(bool notes) { return notes ? m_notes.cursor : m_body.cursor; }
    /// What follows, up to endEdit(), is one edit, which Qt then looks over once.
    void beginEdit() { m_body.cursor.beginEditBlock(); }
    void endEdit() { m_body.cursor.endEditBlock(); }
    /// Goes on in the notes, under their heading, until closeNotes().
    void openNotes(const QString& heading);
    void closeNotes();

    void startParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void deletePreviousCharacter() { m_target->cursor.deletePreviousChar(); }
    /// Makes the paragraph an item of the list at level, a new one in format when there is none
    /// or it is full.
    void joinList(int level, const QTextListFormat& format);
    /// Ends the lists of level and deeper: a list that starts anew starts there.
    void endListsFrom(int level);
    void insertImage(const QByteArray& data, const QTextImageFormat& format);

    /// Where a table is about to go: after the paragraph before it rather than after an empty
    /// one of its own.
    void prepareTable();
    void createTable(int columns);
    void appendRow();
    void appendColumn();
    /// Goes on in the cell until leaveCell().
    void enterCell(int row, int column);
    void leaveCell();
    /// Joins the table's merged cells, gives it format's properties and goes on after it.
    void finishTable(const std::vector<Merge>& merges, const QTextTableFormat& format);

private:
    struct Target
    {
        QTextCursor cursor;
        /// The cursor's block is empty and waits for the next paragraph's format.
        bool fresh = true;
        /// The lists of the list being read, one per level.
        std::vector<QTextList*> lists;
    };

    QTextDocument& m_document;
    Target m_body;
    Target m_notes;
    Target* m_target = &m_body;
    /// What the cells entered left, the innermost last.
    std::vector<Target> m_outside;
    /// The tables being filled, the innermost last.
    std::vector<QTextTable*> m_tables;
};
