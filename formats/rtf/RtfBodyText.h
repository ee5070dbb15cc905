#pragma once

#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfBuildStream.h"
#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfCharacterPolicy.h"
#include "formats/rtf/RtfFormatIds.h"
#include "formats/rtf/RtfGroupState.h"
#include "formats/rtf/RtfKeywordTable.h"
#include "formats/rtf/RtfListTable.h"
#include "formats/rtf/RtfPage.h"
#include "formats/rtf/RtfParagraphState.h"
#include "formats/rtf/RtfTableRow.h"
#include "formats/rtf/RtfToken.h"

#include <QStringView>

/// The body's destination, and a footnote's while one is read: paragraphs, table cells, tab
/// stops and list items, and the text and pictures they hold, recorded into the build stream.
/// The character formatting in force belongs to the parser's group state: it comes with each
/// call that needs it, as chars or as the id of its format.
class RtfBodyText
{
public:
    /// lists says which list style each \lsN names.
    RtfBodyText(RtfBuildStream& stream, RtfFormatIds& formats, const RtfListTable& lists);

    /// Takes a word of the body's other than the character formatting ones: paragraph and cell
    /// ends, paragraph formatting, tab stops and note marks.
    void handleWord(RtfKeywordTable::Keyword keyword, const RtfToken& token,
                    const RtfGroupState& state);
    /// \pn and \pntext, which say the paragraph is a list item as older writers do, and the
    /// words inside \pn that give the list's style.
    void handleLegacyNumberingWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Text of \pntxtb, before the number of an older list, or of \pntxta, after it.
    void appendLegacyText(bool after, QStringView text);

    /// Adds text in formatId, the format of the formatting in force.
    void appendText(QStringView text, int formatId)
    {
        if (rowPending())
            startRow();
        sendText(text, formatId);
    }
    /// appendText() for one character, inline for the \uN that spell text outside ASCII.
    void appendCharacter(char16_t character, int formatId)
    {
        if (rowPending())
            startRow();
        if (m_paragraph.empty)
            m_paragraph.empty = RtfCharacterPolicy::isDropped(character);
        m_stream.appendCharacter(character, formatId, m_paragraph.formatting);
    }
    /// Adds hidden text in formatId, the format it would show in.
    void appendHidden(QStringView text, int formatId)
    {
        if (rowPending())
            startRow();
        m_stream.appendHidden(text, formatId, m_paragraph.formatting);
    }
    /// Adds a PNG or JPEG picture; a size of 0 leaves the picture's own.
    void appendImage(const QByteArray& data, double width, double height);
    void endParagraph(const RtfCharState& chars);
    /// Ends the body's last paragraph, which is no list item when it is empty and only carried
    /// the list on; the document keeps info.
    void finish(const RtfCharState& chars, const DocumentInfo& info);
    /// The page the document's words and its first section's gave.
    const RtfPage& page() const { return m_page; }

    // Rare in real files: kept out of the way of the code every token runs through.
    /// Reads what follows as a footnote, with paragraph formatting of its own, until finishNote().
    Q_DECL_COLD_FUNCTION void startNote();
    /// Reads what follows as a header or footer, a PageFurniture::Story, until finishNote().
    Q_DECL_COLD_FUNCTION void startStory(int story);
    /// Ends the footnote or the story; chars formats its last paragraph's mark. The body's
    /// paragraph goes on.
    Q_DECL_COLD_FUNCTION void finishNote(const RtfCharState& chars);

private:
    /// The paragraph being read: its formatting, what waits to go into it and what it holds.
    struct Paragraph
    {
        RtfParagraphState formatting;
        /// Whether the paragraph itself says it is a list item, rather than carrying on the last.
        bool listDeclared = false;
        /// The \lsN and \ilvlN given, which name its list level together.
        int listOverride = 0;
        int listLevel = 0;
        /// Whether the paragraph holds nothing yet: no pictures, no characters the stream keeps.
        bool empty = true;
    };

    void applyParagraphWord(RtfKeywordTable::Keyword keyword, const RtfToken& token);
    /// \page and \sect: the paragraph ends and the next starts a page.
    Q_DECL_COLD_FUNCTION void breakPage(RtfKeywordTable::Keyword keyword,
                                        const RtfCharState& chars);
    /// A word from PaperWidth to Landscape.
    Q_DECL_COLD_FUNCTION void applyPageWord(RtfKeywordTable::Keyword keyword,
                                            const RtfToken& token);
    /// A word from TabPosition to TabLeaderMiddleDots.
    Q_DECL_COLD_FUNCTION void applyTabWord(RtfKeywordTable::Keyword keyword, const RtfToken& token);
    /// \pard: what a paragraph holds by default, keeping a page break and a note's own.
    void resetParagraph();
    /// \ls and \ilvl, in either order.
    void applyListWord(RtfKeywordTable::Keyword keyword, const RtfToken& token);
    Q_DECL_COLD_FUNCTION void appendNoteMark(const RtfGroupState& state);
    Q_DECL_COLD_FUNCTION void appendPageNumber(const RtfCharState& chars);
    /// A word from TitlePage to FooterY.
    Q_DECL_COLD_FUNCTION void applyFurnitureWord(RtfKeywordTable::Keyword keyword,
                                                 const RtfToken& token);
    /// Cell and row ends and table nesting; the row definition goes to applyRowWord().
    Q_DECL_COLD_FUNCTION void applyTableWord(RtfKeywordTable::Keyword keyword,
                                             const RtfToken& token, const RtfCharState& chars);
    /// Words of the row definition from \trowd to the last \cellx, of the outermost table.
    Q_DECL_COLD_FUNCTION void applyRowWord(RtfKeywordTable::Keyword keyword, const RtfToken& token);
    /// Takes the border words of the side being described into the cell's border.
    void commitBorderSide();
    /// Whether a table row's first content is coming, which the row's layout must precede.
    bool rowPending() const { return m_rowPending && m_paragraph.formatting.inTable; }
    Q_DECL_COLD_FUNCTION void startRow();
    /// Whether the stream drops every character of text, which then leaves a paragraph empty.
    static bool isDropped(QStringView text);
    /// Sends text to the stream, noting whether the paragraph now holds anything.
    void sendText(QStringView text, int formatId)
    {
        if (m_paragraph.empty)
            m_paragraph.empty = isDropped(text);
        m_stream.appendText(text, formatId, m_paragraph.formatting);
    }

    RtfBuildStream& m_stream;
    RtfFormatIds& m_formats;
    const RtfListTable& m_lists;
    Paragraph m_paragraph;
    /// The body's paragraph, kept while a footnote is read.
    Paragraph m_bodyParagraph;
    int m_notes = 0;
    bool m_sectionEnded = false;
    RtfPage m_page;
    int m_headingFormat = -1;
    /// What the text read goes to: the body, a note, or a PageFurniture::Story.
    static constexpr int s_body = -1;
    static constexpr int s_note = PageFurniture::StoryCount;
    int m_story = s_body;
    /// Headers' and footers' settings, which go with the document's end.
    PageFurniture m_furniture;
    /// The kind and leader of the next tab stop, given before its position.
    QTextOption::TabType m_tabType = QTextOption::LeftTab;
    char16_t m_tabLeader = u' ';
    /// The table row being defined or read, and the border of the cell being defined.
    RtfTableRow m_row;
    RtfTableRow::Cell m_cell;
    struct Border
    {
        int cell = 0;
        /// The side being described, if any: whether it is drawn, and how wide.
        bool side = false;
        bool drawn = false;
        int width = 0;
    };
    Border m_border;
    /// Nested tables' words are left out: their cells' paragraphs go into the outer cell.
    int m_tableDepth = 1;
    /// Whether the next table content starts a row. A definition given after the row's first
    /// content lays out the rows after it.
    bool m_rowPending = true;
    /// Whether a \trowd came inside a nested table's words, to count once \itap says whose.
    bool m_rowWordsWait = false;
};
