#pragma once

#include "formats/base/PageFurniture.h"
#include "formats/base/Progress.h"
#include "formats/rtf/RtfByteSink.h"
#include "formats/rtf/RtfPage.h"
#include "formats/rtf/RtfParagraphMap.h"
#include "formats/rtf/RtfRunStyle.h"
#include "formats/rtf/RtfStyleTable.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringView>
#include <QTextBlock>
#include <QTextTable>

#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;
class QTextImageFormat;
class QTextListFormat;
class QTextList;

/// One pass over a document's blocks and fragments that produces its RTF. After that pass it
/// can write single paragraphs again, with the font and colour tables of that pass.
class RtfDocumentWriter
{
public:
    /// The header says page, when it says anything.
    explicit RtfDocumentWriter(const QTextDocument& document, const RtfPage& page = {});

    /// The whole document, once; map, when given, learns where each paragraph's RTF lies, and
    /// progress hears the paragraphs written now and then.
    QByteArray write(RtfParagraphMap* map = nullptr, const Progress& progress = {});
    /// What the whole document's RTF would now hold for block, written after before; paragraph
    /// and after learn what write() would have noted for it. Nothing when the paragraph needs
    /// fonts or colours the tables of the whole write do not have. When it needs the style
    /// sheet the whole write's header lacks, header() has changed.
    std::optional<QByteArray> writeParagraph(const QTextBlock& block,
                                             const RtfParagraphBoundary& before,
                                             RtfParagraphMap::Paragraph* paragraph,
                                             RtfParagraphBoundary* after);

    /// What write() puts before the paragraphs: the header and the page furniture.
    QByteArray header();
    /// Whether the header names the seed text's style.
    bool hasStyleSheet() const { return m_seedWritten; }

private:
    struct TableLayout;
    /// A cell's table, row and column, and its first and last positions.
    struct CellPlace
    {
        const QTextTable* table = nullptr;
        int row = -1;
        int column = -1;
        int first = 0;
        int last = -1;
    };

    /// A writer of story, a header or footer, whose fonts and colours go on from tables'.
    RtfDocumentWriter(const QTextDocument& story, const RtfStyleTable& tables);
    void writeBlocks(RtfParagraphMap* map, const Progress& progress);
    /// Writes block, which starts at position and whose raw text is text, and moves boundary
    /// past it; the document's last paragraph ends without \par.
    RtfParagraphMap::Paragraph writeParagraph(const QTextBlock& block, int position,
                                              QStringView text, RtfParagraphBoundary& boundary,
                                              bool last);
    /// Finds the notes whose marks the text holds, which are written at their marks.
    void findNotes();
    /// Whether block belongs to a note written at its mark, or is the heading above them.
    bool isPlacedNote(const QTextBlock& block) const;
    /// A note's mark or a page number, whose text the reader makes anew.
    bool writeMarked(QStringView text, const RtfRunStyle& style);
    void writeNote(int note);
    void writeFurniture(RtfByteSink& out);
    void writeNumbering(RtfByteSink& out, const Numbering& numbering, const Numbering& plain,
                        bool endnotes);
    /// The run style of a format, noting its table entries among those the paragraph uses.
    const RtfRunStyle& styleFor(int formatIndex);
    void writeHeader(RtfByteSink& out);
    /// The title and author, when the document has either.
    void writeInfo(RtfByteSink& out);
    void writePage(RtfByteSink& out);
    /// What paragraphs of one format start with, found once for them in each write: Qt finds
    /// a block's list anew each time it is asked.
    struct ParagraphStart
    {
        const QTextList* list = nullptr;
        /// Alignment, indents, spacing and tab stops as control words.
        QByteArray properties;
    };
    ParagraphStart paragraphStart(const QTextBlock& block);
    void writeParagraphStart(const QTextBlock& block, const ParagraphStart& start,
                             const QByteArray& previousProperties, bool inTable);
    /// Notes the document's top-level tables and where they lie, as they are now.
    void findTables();
    /// The top-level table the block at position is in, if any.
    const QTextTable* tableOf(int position) const;
    /// The cell of table at position.
    const CellPlace& cellAt(const QTextTable& table, int position);
    /// What the writer needs of table, found when its first paragraph is written.
    TableLayout& layoutOf(const QTextTable& table);
    /// What the rows of tables in format share, for layout.
    static void defineRows(const QTextTableFormat& format, TableLayout& layout);
    /// Before a cell's first paragraph: its row's definition when it starts the row, and the
    /// merged-away cells before it.
    void writeCellStart(const CellPlace& cell);
    /// After the last paragraph of the cell in column: \cell, and the row's end when it is the
    /// row's last.
    void writeCellEnd(int column);
    void writeRowDefinition(int row);
    void writeCoveredCells(int count);
    void writeListMarker(const QTextBlock& block, const QTextList& list);
    /// The words after a list paragraph's marker that name its list, level and indent; a
    /// bullet's marker too, which is the same for every item.
    QByteArray listWords(const QTextListFormat& format);
    /// The \ls number of a numbered list's format, entered in the list table when new.
    int listNumber(const QTextListFormat& listFormat);
    /// The \listtable and \listoverridetable of the numbered lists written.
    void writeListTables(RtfByteSink& out);
    void writeListLevel(RtfByteSink& out, const QTextListFormat& format, int level);
    /// Writes block's fragments; text is the block's raw text.
    void writeBlock(const QTextBlock& block, QStringView text);
    bool writeRun(QStringView text, const RtfRunStyle& style);
    void writeSeedRun(QStringView text, const RtfRunStyle& style);
    bool writeImage(const QTextImageFormat& format);
    /// Writes the hidden text of count object characters in format, as {\v text}.
    void writeHidden(const QTextCharFormat& format, int formatIndex, qsizetype count);
    void openLink(const QString& link);
    void closeLink();
    void openVertical(int vertical);
    void closeVertical();
    void writeStyle(const RtfRunStyle& style);
    void writeWord(RtfByteSink& out, std::string_view word);
    void writeWord(RtfByteSink& out, std::string_view word, int parameter);
    void writeText(RtfByteSink& out, QStringView text);
    char* writeSpecial(char* target, char16_t c);

    const QTextDocument& m_document;
    RtfPage m_page;
    RtfStyleTable m_styles;
    RtfByteSink m_body;
    RtfRunStyle m_current;
    /// The style outside the open hyperlink field, which its closing brace brings back.
    RtfRunStyle m_outsideLink;
    QString m_openLink;
    /// Super- and subscript travel in a group of their own: readers disagree on switching
    /// them off, but all of them close a group.
    RtfRunStyle m_outsideVertical;
    int m_openVertical = 0;
    bool m_needsDelimiter = false;
    /// Whether the header names the seed text's style: the document has or had seed text.
    bool m_seedWritten = false;
    /// The font and colour table entries the paragraph being written used so far, in order,
    /// folded into one number.
    quint64 m_tableUse = 0;
    quint64 m_lastEntries = 0;
    /// The block formats of notes and of the heading above them; empty in most documents.
    QSet<int> m_noteFormats;
    /// The paragraphs of each note whose mark the text holds, by the note's number.
    QHash<int, QList<QTextBlock>> m_notes;
    QTextBlock m_lastBlock;
    struct NoteWriting
    {
        /// Whether a note's paragraphs are being written, inside its mark's paragraph.
        bool inNote = false;
        /// Whether the paragraph being written holds a note's mark.
        bool markWritten = false;
    };
    NoteWriting m_noteWriting;
    /// The formats of the lists written, each an entry of the list table.
    std::vector<QTextListFormat> m_listFormats;
    /// The words after list paragraphs' markers, as listWords() gives them, by the list's format.
    QHash<int, QByteArray> m_listWords;
    /// By the paragraphs' format; emptied at the start of each write.
    QHash<int, ParagraphStart> m_paragraphStarts;
    /// Whether the document holds a paragraph in pieces (ParagraphPieces), written as one.
    bool m_pieces = false;
    struct TablePlace
    {
        const QTextTable* table;
        int first;
        int last;
    };
    /// The document's top-level tables, in order.
    std::vector<TablePlace> m_tables;
    /// Qt finds a cell by searching its table, and its format anew for each question: a table's
    /// grid and what its rows' definitions share are found once for all its rows.
    struct TableLayout
    {
        const QTextTable* table = nullptr;
        int rows = 0;
        int columns = 0;
        /// The cell at each place of the grid, row by row, and where each starts, -1 until
        /// asked.
        std::vector<QTextTableCell> cells;
        std::vector<int> firstPositions;
        /// The table format the rest comes from.
        int formatIndex = -1;
        /// A row's definition up to its cells: \trowd, the gap and the left edge.
        QByteArray rowStart;
        /// The borders every cell has; empty when there are none.
        QByteArray cellBorders;
        /// Each column's right edge, in twips.
        std::vector<int> rights;

        /// Whether the places hold one cell; places outside the grid hold none.
        bool sameCell(int row, int column, int otherRow, int otherColumn) const;
        /// The next place after row and column where a cell starts, in the order cells are in
        /// the text; the row is rows after the last.
        std::pair<int, int> nextStart(int row, int column) const;
        int firstPosition(int row, int column);
    };
    TableLayout m_layout;
    /// Qt finds a cell's row and column by searching its table, so each cell is found once for
    /// all its paragraphs, and each row's merged cells once for the whole row.
    struct Cells
    {
        /// The cell of the paragraph being written.
        CellPlace found;
        /// The cell written last.
        CellPlace written;
        /// The last column of the written cell's row where a cell starts.
        int rowLastStart = -1;
    };
    Cells m_cells;
};
