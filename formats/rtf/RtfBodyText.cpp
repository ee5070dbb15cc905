#include "formats/rtf/RtfBodyText.h"
#include "formats/base/TextProperties.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace {

using Keyword = RtfKeywordTable::Keyword;

// Word's largest indent or spacing, 22 inches, in twips.
constexpr int s_maxTwips = 31680;
// Word's limit on a row's cells; further \cellx are left out, which bounds the work per row.
constexpr size_t s_maxCells = 63;
// A border drawn without a width: Word's thinnest, in twips.
constexpr int s_defaultBorder = 10;

constexpr int s_minPaperTwips = 720;

int twips(const RtfToken& token, int minimum)
{
    return std::clamp(token.parameter, minimum, s_maxTwips);
}

} // namespace

RtfBodyText::RtfBodyText(RtfBuildStream& stream, RtfFormatIds& formats, const RtfListTable& lists)
    : m_stream(stream), m_formats(formats), m_lists(lists)
{
}

void RtfBodyText::handleWord(Keyword keyword, const RtfToken& token, const RtfGroupState& state)
{
    switch (keyword) {
    case Keyword::Paragraph:
        endParagraph(state.chars);
        break;
    case Keyword::PageBreak:
    case Keyword::Section:
        breakPage(keyword, state.chars);
        break;
    case Keyword::InTable:
        m_paragraph.formatting.inTable = true;
        break;
    case Keyword::FootnoteMark:
        appendNoteMark(state);
        break;
    case Keyword::PageNumber:
        appendPageNumber(state.chars);
        break;
    case Keyword::Endnote:
        if (m_story == s_note)
            m_paragraph.formatting.endnote = true;
        break;
    default:
        if (keyword >= Keyword::TabPosition && keyword <= Keyword::TabLeaderMiddleDots)
            applyTabWord(keyword, token);
        else if (keyword >= Keyword::TitlePage && keyword <= Keyword::EndnoteStart)
            applyFurnitureWord(keyword, token);
        else if (keyword == Keyword::TableRow || keyword == Keyword::Cell ||
                 keyword == Keyword::Row ||
                 (keyword >= Keyword::CellBoundary && keyword <= Keyword::NestedRow))
            applyTableWord(keyword, token, state.chars);
        else
            applyParagraphWord(keyword, token);
        break;
    }
}

void RtfBodyText::applyTableWord(Keyword keyword, const RtfToken& token, const RtfCharState& chars)
{
    RtfParagraphState& formatting = m_paragraph.formatting;
    switch (keyword) {
    case Keyword::TableDepth:
        m_tableDepth = std::max(token.parameter, 0);
        formatting.inTable = m_tableDepth > 0;
        // AbiWord gives an outer row's definition as "\trowd\itap1" after a nested row, so the
        // \trowd comes while the depth is still the nested one.
        if (std::exchange(m_rowWordsWait, false) && m_tableDepth <= 1)
            applyRowWord(Keyword::TableRow, token);
        break;
    case Keyword::NestedCell:
        endParagraph(chars);
        break;
    case Keyword::NestedRow:
        // The nested cells' paragraphs are ended already.
        break;
    case Keyword::Cell:
        if (!formatting.inTable) {
            // Cells outside a table keep their texts apart as tabs do.
            sendText(u"\t", m_formats.current(chars));
            break;
        }
        if (rowPending())
            startRow();
        m_stream.endCell(m_formats.current(chars), formatting);
        m_paragraph.listDeclared = false;
        m_paragraph.empty = true;
        break;
    case Keyword::Row:
        if (!formatting.inTable) {
            endParagraph(chars);
            break;
        }
        if (rowPending())
            startRow();
        m_stream.endRow(formatting);
        m_rowPending = true;
        // Each paragraph of a table says so: what follows the row without \intbl is outside.
        formatting.inTable = false;
        break;
    default:
        if (m_tableDepth <= 1)
            applyRowWord(keyword, token);
        else
            m_rowWordsWait = keyword == Keyword::TableRow;
        break;
    }
}

void RtfBodyText::applyRowWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::TableRow:
        // Writers that leave out \intbl still mean the row's paragraphs to be its cells'.
        m_paragraph.formatting.inTable = true;
        m_row = RtfTableRow();
        m_cell = RtfTableRow::Cell();
        m_border.cell = 0;
        m_border.side = false;
        break;
    case Keyword::CellBoundary:
        commitBorderSide();
        m_row.borderWidth = std::max(m_row.borderWidth, m_border.cell);
        m_cell.right = std::clamp(token.parameter, -s_maxTwips, s_maxTwips);
        if (m_row.cells.size() < s_maxCells)
            m_row.cells.push_back(m_cell);
        m_cell = RtfTableRow::Cell();
        m_border.cell = 0;
        break;
    case Keyword::CellMerge:
        m_cell.merge |= RtfTableRow::MergedLeft;
        break;
    case Keyword::CellMergeUp:
        m_cell.merge |= RtfTableRow::MergedUp;
        break;
    case Keyword::RowGap:
        m_row.gap = std::clamp(token.parameter, 0, s_maxTwips);
        break;
    case Keyword::RowLeft:
        m_row.left = std::clamp(token.parameter, -s_maxTwips, s_maxTwips);
        break;
    case Keyword::CellBorder:
        commitBorderSide();
        m_border.side = true;
        break;
    case Keyword::BorderSingle:
    case Keyword::BorderNone:
        m_border.drawn = keyword == Keyword::BorderSingle;
        break;
    case Keyword::BorderWidth:
        m_border.width = std::clamp(token.parameter, 0, s_maxTwips);
        break;
    default:
        break;
    }
}

void RtfBodyText::commitBorderSide()
{
    if (m_border.side && m_border.drawn)
        m_border.cell =
            std::max(m_border.cell, m_border.width > 0 ? m_border.width : s_defaultBorder);
    m_border.side = false;
    m_border.drawn = false;
    m_border.width = 0;
}

void RtfBodyText::startRow()
{
    m_rowPending = false;
    m_stream.startRow(m_row, m_paragraph.formatting);
}

void RtfBodyText::applyParagraphWord(Keyword keyword, const RtfToken& token)
{
    RtfParagraphState& formatting = m_paragraph.formatting;
    switch (keyword) {
    case Keyword::ParagraphDefault:
        resetParagraph();
        break;
    case Keyword::ListOverride:
    case Keyword::ListLevelNumber:
        applyListWord(keyword, token);
        break;
    case Keyword::AlignLeft:
        formatting.alignment = RtfParagraphState::Alignment::Left;
        break;
    case Keyword::AlignCenter:
        formatting.alignment = RtfParagraphState::Alignment::Center;
        break;
    case Keyword::AlignRight:
        formatting.alignment = RtfParagraphState::Alignment::Right;
        break;
    case Keyword::AlignJustify:
        formatting.alignment = RtfParagraphState::Alignment::Justify;
        break;
    case Keyword::LeftIndent:
        formatting.leftIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::RightIndent:
        formatting.rightIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::FirstIndent:
        formatting.firstIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::SpaceBefore:
        formatting.spaceBefore = twips(token, 0);
        break;
    case Keyword::SpaceAfter:
        formatting.spaceAfter = twips(token, 0);
        break;
    case Keyword::LineSpacing:
        formatting.lineSpacing = twips(token, -s_maxTwips);
        break;
    case Keyword::LineMultiple:
        formatting.lineMultiple = !token.hasParameter || token.parameter != 0;
        break;
    case Keyword::PageBreakBefore:
        formatting.pageBreakBefore = !token.hasParameter || token.parameter != 0;
        break;
    case Keyword::SectionContinuous:
        // The section just begun follows the last one on its page.
        if (m_paragraph.empty)
            formatting.newPage = false;
        break;
    default:
        if (keyword >= Keyword::PaperWidth && keyword <= Keyword::Landscape)
            applyPageWord(keyword, token);
        break;
    }
}

void RtfBodyText::resetParagraph()
{
    // A page break that came before still starts the page, and a note's paragraphs stay its
    // own, whatever \pard resets.
    RtfParagraphState& formatting = m_paragraph.formatting;
    RtfParagraphState plain;
    plain.newPage = formatting.newPage;
    plain.note = formatting.note;
    plain.endnote = formatting.endnote;
    formatting = std::move(plain);
    m_tableDepth = 1;
    m_paragraph.listOverride = 0;
    m_paragraph.listLevel = 0;
}

void RtfBodyText::applyListWord(Keyword keyword, const RtfToken& token)
{
    RtfParagraphState& formatting = m_paragraph.formatting;
    if (keyword == Keyword::ListOverride) {
        m_paragraph.listOverride = token.parameter;
        formatting.list = m_lists.level(token.parameter, m_paragraph.listLevel);
        m_paragraph.listDeclared = true;
    } else {
        m_paragraph.listLevel = token.parameter;
        if (m_paragraph.listOverride > 0)
            formatting.list = m_lists.level(m_paragraph.listOverride, token.parameter);
    }
}

// A section break ends its paragraph as \par does. A page break is a character: in a paragraph
// that holds nothing yet, as in "\par\page", it starts that paragraph's page, and ending the
// paragraph would leave an empty one at the foot of the page before.
void RtfBodyText::breakPage(Keyword keyword, const RtfCharState& chars)
{
    if (keyword == Keyword::Section || !m_paragraph.empty)
        endParagraph(chars);
    // A cell's text cannot start a page: the break ends its paragraph only.
    if (m_paragraph.formatting.inTable)
        return;
    m_paragraph.formatting.newPage = true;
    m_sectionEnded = m_sectionEnded || keyword == Keyword::Section;
}

void RtfBodyText::applyPageWord(Keyword keyword, const RtfToken& token)
{
    // Later sections' pages are not kept: a document has one page.
    if (m_sectionEnded)
        return;
    if (keyword == Keyword::Landscape) {
        m_page.landscape = true;
        return;
    }
    const int length = int(keyword) - int(Keyword::PaperWidth);
    // A sheet narrower than half an inch is garbage, and could not be printed on.
    m_page.lengths[size_t(length)] =
        twips(token, length <= RtfPage::PaperHeight ? s_minPaperTwips : 0);
    m_page.given |= 1u << length;
}

void RtfBodyText::applyTabWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::TabRight:
        m_tabType = QTextOption::RightTab;
        return;
    case Keyword::TabCenter:
        m_tabType = QTextOption::CenterTab;
        return;
    case Keyword::TabDecimal:
        m_tabType = QTextOption::DelimiterTab;
        return;
    case Keyword::TabPosition:
        // Further stops are ignored, which bounds the work per paragraph.
        if (m_paragraph.formatting.tabs.size() < RtfCharacterPolicy::MaxTabStops)
            m_paragraph.formatting.tabs.append(
                {std::clamp(token.parameter, -RtfCharacterPolicy::MaxTabStopTwips,
                            RtfCharacterPolicy::MaxTabStopTwips),
                 m_tabType, m_tabLeader});
        break;
    case Keyword::TabBar:
        // A bar tab draws a line, it stops no text; its kind and leader end with it.
        break;
    default:
        m_tabLeader = TextProperties::tabLeader(int(keyword) - int(Keyword::TabLeaderDots));
        return;
    }
    m_tabType = QTextOption::LeftTab;
    m_tabLeader = u' ';
}

void RtfBodyText::handleLegacyNumberingWord(Keyword keyword, int parameter)
{
    QTextListFormat::Style& list = m_paragraph.formatting.list.style;
    switch (keyword) {
    case Keyword::LegacyBullet:
        // Older writers describe the list in \pn; its keywords say bullet or number style.
        m_paragraph.formatting.list = RtfListLevel::of(QTextListFormat::ListDisc);
        m_paragraph.listDeclared = true;
        break;
    case Keyword::LegacyStart:
        m_paragraph.formatting.list.start = std::clamp(parameter, 0, 32767);
        break;
    case Keyword::LegacyBulletText:
        // The marker text: a list is certain, its kind comes from \pn, which may follow.
        if (list == QTextListFormat::ListStyleUndefined)
            list = QTextListFormat::ListDisc;
        m_paragraph.listDeclared = true;
        break;
    case Keyword::BulletLevel:
        list = QTextListFormat::ListDisc;
        break;
    case Keyword::NumberedLevel:
    case Keyword::NumberDecimal:
        list = QTextListFormat::ListDecimal;
        break;
    case Keyword::NumberLowerLetter:
        list = QTextListFormat::ListLowerAlpha;
        break;
    case Keyword::NumberUpperLetter:
        list = QTextListFormat::ListUpperAlpha;
        break;
    case Keyword::NumberLowerRoman:
        list = QTextListFormat::ListLowerRoman;
        break;
    case Keyword::NumberUpperRoman:
        list = QTextListFormat::ListUpperRoman;
        break;
    default:
        break;
    }
}

void RtfBodyText::appendLegacyText(bool after, QStringView text)
{
    constexpr qsizetype maxText = 32;
    QString& target =
        after ? m_paragraph.formatting.list.suffix : m_paragraph.formatting.list.prefix;
    // Empty but given: a number with nothing after it has no suffix, not the default one.
    if (target.isNull())
        target = QStringLiteral("");
    target.append(text.first(std::clamp(maxText - target.size(), qsizetype(0), text.size())));
}

void RtfBodyText::appendImage(const QByteArray& data, double width, double height)
{
    if (rowPending())
        startRow();
    m_stream.appendImage(data, width, height, m_paragraph.formatting);
    m_paragraph.empty = false;
}

void RtfBodyText::endParagraph(const RtfCharState& chars)
{
    if (rowPending())
        startRow();
    m_stream.endParagraph(m_formats.current(chars), m_paragraph.formatting);
    m_paragraph.formatting.newPage = false;
    m_paragraph.listDeclared = false;
    m_paragraph.empty = true;
}

void RtfBodyText::startNote()
{
    m_bodyParagraph = std::exchange(m_paragraph, Paragraph());
    m_story = s_note;
    m_paragraph.formatting.note = ++m_notes;
    // The heading is the reader's, not the file's: in the document's own font, so the same file
    // written again and read brings the same heading.
    if (m_headingFormat < 0) {
        QTextCharFormat heading;
        heading.setFontWeight(QFont::Bold);
        heading.setFontPointSize(12);
        m_headingFormat = m_stream.addFormat(heading);
    }
    m_stream.startNote(m_headingFormat, m_paragraph.formatting);
}

void RtfBodyText::startStory(int story)
{
    m_bodyParagraph = std::exchange(m_paragraph, Paragraph());
    m_story = story;
    m_stream.startStory(story, m_paragraph.formatting);
}

void RtfBodyText::finishNote(const RtfCharState& chars)
{
    m_stream.endNote(m_formats.current(chars), m_paragraph.formatting);
    m_paragraph = std::move(m_bodyParagraph);
    m_story = s_body;
}

void RtfBodyText::finish(const RtfCharState& chars, const DocumentInfo& info)
{
    // Nothing follows a page break at the very end, so it makes no empty page.
    if (m_paragraph.empty)
        m_paragraph.formatting.newPage = false;
    if (!m_paragraph.listDeclared && m_paragraph.empty)
        m_paragraph.formatting.list = RtfListLevel();
    // A table's last row leaves \intbl in force; nothing follows it in the table.
    if (m_paragraph.empty)
        m_paragraph.formatting.inTable = false;
    m_stream.finish(m_formats.current(chars), m_paragraph.formatting, m_furniture, info);
}

void RtfBodyText::appendNoteMark(const RtfGroupState& state)
{
    if (state.chars.hidden)
        return;
    // In the body the mark numbers the note that follows it; in the note, the note itself. A
    // mark in a header or footer belongs to no note.
    const int note = m_story == s_note ? m_notes : m_notes + 1;
    RtfCharState mark = state.chars;
    mark.vertical = 1;
    mark.note = m_story == s_body || m_story == s_note ? note : 0;
    if (rowPending())
        startRow();
    sendText(QString::number(note), m_formats.id(mark));
}

void RtfBodyText::appendPageNumber(const RtfCharState& chars)
{
    if (chars.hidden)
        return;
    RtfCharState number = chars;
    number.pageNumber = true;
    if (rowPending())
        startRow();
    sendText(u"1", m_formats.id(number));
}

void RtfBodyText::applyFurnitureWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::TitlePage:
        m_furniture.titlePage = !token.hasParameter || token.parameter != 0;
        break;
    case Keyword::FacingPages:
        m_furniture.facingPages = !token.hasParameter || token.parameter != 0;
        break;
    case Keyword::HeaderY:
        m_furniture.headerY = twips(token, 0);
        break;
    case Keyword::FooterY:
        m_furniture.footerY = twips(token, 0);
        break;
    case Keyword::FootnoteStart:
    case Keyword::EndnoteStart:
        (keyword == Keyword::FootnoteStart ? m_furniture.footnotes : m_furniture.endnotes).start =
            token.hasParameter
                ? std::clamp(token.parameter, Numbering::lowestStart, Numbering::highestStart)
                : 1;
        break;
    default: // the numbering styles
        if (keyword >= Keyword::EndnoteArabic)
            m_furniture.endnotes.style =
                Numbering::Style(int(keyword) - int(Keyword::EndnoteArabic));
        else
            m_furniture.footnotes.style =
                Numbering::Style(int(keyword) - int(Keyword::FootnoteArabic));
        break;
    }
}

bool RtfBodyText::isDropped(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return RtfCharacterPolicy::isDropped(c.unicode()); });
}
