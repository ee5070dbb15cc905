#pragma once

#include "formats/rtf/RtfBuildChunk.h"

#include <array>
#include <memory>

#include <QList>
#include <QTextCharFormat>
#include <QTextCursor>

#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

/// Fills a QTextDocument with what RtfBuildStream recorded, through one cursor inside one edit
/// block.
class RtfDocumentBuilder
{
public:
    /// Empties document and opens the edit block, which the chunk that finishes closes. A
    /// paragraph is made when its first content arrives, with the formatting in force then, as
    /// it mostly stays.
    explicit RtfDocumentBuilder(QTextDocument* document);
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    /// Carries out the chunk's commands; chunks must come in the order they were recorded.
    void apply(const RtfBuildChunk& chunk);

private:
    /// The table being filled, one row and cell after another.
    struct Table
    {
        QTextTable* table = nullptr;
        /// Where the table starts from the margin and where its columns end, in twips.
        int left = 0;
        std::vector<int> edges;
        /// The column each cell of the current row starts in, then where the row ends.
        std::vector<int> cellColumns;
        int row = -1;
        int cell = 0;
        int column = 0;
        bool cellEnded = false;
        bool rowEnded = false;
        /// Whether the cell is part of a merged cell that starts in another.
        bool covered = false;
    };

    /// Where text goes: the body, the notes after it, or a header or footer.
    struct Target
    {
        QTextCursor cursor;
        /// The format the current block was made with.
        QTextBlockFormat blockFormat;
        bool paragraphHasText = false;
        /// Whether the current paragraph is still to be made.
        bool paragraphPending = false;
        /// The lists of the run of list paragraphs written last, one a level at most, the
        /// latest last: an item of a level goes on with its list after deeper levels' items.
        QList<QTextList*> lists;
        int paragraphs = 0;
        Table table;
    };

    void insertText(QStringView text, int formatId);
    void insertImage(const RtfBuildChunk::Image& image);
    void insertHidden(QStringView text, int formatId);
    void endParagraph(int markFormatId);
    void startNote(int headingFormatId);
    /// Makes the superscript text just before the note being opened its mark, where no mark
    /// of ours stands there.
    Q_DECL_COLD_FUNCTION void tieCustomMark(int note);
    void startStory(int story);
    void endNote(int markFormatId);
    void finish(int markFormatId, PageFurniture furniture, const DocumentInfo& info);
    /// Keeps the headers and footers read, and their settings, with the document.
    void keepFurniture(PageFurniture& furniture);
    /// The target's cursor, after making its pending paragraph with markFormat on its mark.
    QTextCursor& cursor(const QTextCharFormat& markFormat = QTextCharFormat());
    void closeParagraph(int markFormatId);
    /// Puts mark on the empty paragraph at the cursor as the format of its paragraph mark.
    void markEmptyParagraph(QTextCharFormat mark);
    /// Opens the table, row or cell that content in the paragraph formatting in force goes
    /// into, or leaves the table when it is outside.
    void followTable();
    void joinList();
    // Tables are rare next to paragraphs: their work is kept apart.
    Q_DECL_COLD_FUNCTION void startRow(const RtfTableRow& row);
    Q_DECL_COLD_FUNCTION void endCell(int markFormatId);
    Q_DECL_COLD_FUNCTION void enterNextCell();
    Q_DECL_COLD_FUNCTION void closeTable();
    void createTable(const RtfTableRow& row);
    /// The columns each of row's cells starts in, after splitting columns for its new edges.
    void placeCells(const RtfTableRow& row);
    /// Joins the row's cells that RTF merges with the cell on their left or above.
    void mergeCells(const RtfTableRow& row);
    void moveToCell(int column);
    /// QTextTable::mergeCells() without the empty paragraphs of the cells it joins.
    void merge(int row, int column, int rows, int columns);

    QTextDocument* m_document;
    /// The paragraph formatting in force: the block's format and the list it is an item of.
    QTextBlockFormat m_blockFormat;
    QTextListFormat m_list;
    bool m_inTable = false;
    Target m_body;
    Target m_notes;
    Target m_story;
    std::array<std::unique_ptr<QTextDocument>, PageFurniture::StoryCount> m_stories;
    Target* m_target = &m_body;
    int m_notesStarted = 0;
    bool m_undoWasEnabled;
    QList<QTextCharFormat> m_formats;
};
