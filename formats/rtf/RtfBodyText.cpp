#include "formats/rtf/RtfBodyText.h"

#include "formats/base/LossNames.h"

#include <algorithm>
#include <utility>

namespace {

using Keyword = RtfKeywordTable::Keyword;

// Word's largest indent or spacing, 22 inches, in twips.
constexpr int s_maxTwips = 31680;

constexpr int s_minPaperTwips = 720;

int twips(const RtfToken& token, int minimum)
{
    return std::clamp(token.parameter, minimum, s_maxTwips);
}

} // namespace

RtfBodyText::RtfBodyText(RtfBuildStream& stream, RtfFormatIds& formats, const RtfListTable& lists,
                         RtfLosses& losses)
    : m_stream(stream), m_formats(formats), m_lists(lists), m_losses(losses)
{
}

void RtfBodyText::handleWord(Keyword keyword, const RtfToken& token, const RtfGroupState& state)
{
    switch (keyword) {
    case Keyword::Paragraph:
        if (m_paragraph.formatting.inTable)
            m_paragraph.pendingCellBreak = true;
        else
            endParagraph(state.chars);
        break;
    case Keyword::Cell:
        // A tab goes between cells only, so it waits for the next cell's text.
        m_paragraph.pendingCells = std::min(m_paragraph.pendingCells + 1, 1 << 20);
        m_paragraph.pendingCellBreak = false;
        break;
    case Keyword::PageBreak:
    case Keyword::Section:
        breakPage(keyword, state.chars);
        break;
    case Keyword::Row:
        m_paragraph.pendingCells = 0;
        m_paragraph.pendingCellBreak = false;
        endParagraph(state.chars);
        break;
    case Keyword::InTable:
        m_paragraph.formatting.inTable = true;
        break;
    case Keyword::TableRow:
        m_losses.add(LossNames::tableLayout());
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
        else if (keyword >= Keyword::TitlePage && keyword <= Keyword::FooterY)
            applyFurnitureWord(keyword, token);
        else
            applyParagraphWord(keyword, token);
        break;
    }
}

void RtfBodyText::applyParagraphWord(Keyword keyword, const RtfToken& token)
{
    RtfParagraphState& formatting = m_paragraph.formatting;
    switch (keyword) {
    case Keyword::ParagraphDefault: {
        // A page break that came before still starts the page, and a note's paragraphs stay
        // its own, whatever \pard resets.
        RtfParagraphState plain;
        plain.newPage = formatting.newPage;
        plain.note = formatting.note;
        plain.endnote = formatting.endnote;
        formatting = std::move(plain);
        break;
    }
    case Keyword::ListOverride:
        formatting.list = m_lists.overrideStyle(token.parameter);
        m_paragraph.listDeclared = true;
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

void RtfBodyText::breakPage(Keyword keyword, const RtfCharState& chars)
{
    if (m_paragraph.formatting.inTable) {
        m_paragraph.pendingCellBreak = true;
        return;
    }
    endParagraph(chars);
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
        m_tabLeader = RtfCharacterPolicy::tabLeader(int(keyword) - int(Keyword::TabLeaderDots));
        return;
    }
    m_tabType = QTextOption::LeftTab;
    m_tabLeader = u' ';
}

void RtfBodyText::handleLegacyNumberingWord(Keyword keyword)
{
    QTextListFormat::Style& list = m_paragraph.formatting.list;
    switch (keyword) {
    case Keyword::LegacyBullet:
        // Older writers describe the list in \pn; its keywords say bullet or number style.
        list = QTextListFormat::ListDisc;
        m_paragraph.listDeclared = true;
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

void RtfBodyText::appendImage(const QByteArray& data, double width, double height,
                              const RtfCharState& chars)
{
    if (cellsPending())
        emitCells(m_formats.current(chars));
    m_stream.appendImage(data, width, height, m_paragraph.formatting);
    m_paragraph.empty = false;
}

void RtfBodyText::endParagraph(const RtfCharState& chars)
{
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

void RtfBodyText::finish(const RtfCharState& chars)
{
    // Nothing follows a page break at the very end, so it makes no empty page.
    if (m_paragraph.empty)
        m_paragraph.formatting.newPage = false;
    if (!m_paragraph.listDeclared && m_paragraph.empty)
        m_paragraph.formatting.list = QTextListFormat::ListStyleUndefined;
    m_stream.finish(m_formats.current(chars), m_paragraph.formatting, m_furniture);
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
    if (cellsPending())
        emitCells(m_formats.current(state.chars));
    sendText(QString::number(note), m_formats.id(mark));
}

void RtfBodyText::appendPageNumber(const RtfCharState& chars)
{
    if (chars.hidden)
        return;
    RtfCharState number = chars;
    number.pageNumber = true;
    if (cellsPending())
        emitCells(m_formats.current(chars));
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
    default: // \footery
        m_furniture.footerY = twips(token, 0);
        break;
    }
}

bool RtfBodyText::isDropped(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return RtfCharacterPolicy::isDropped(c.unicode()); });
}

void RtfBodyText::emitCells(int formatId)
{
    if (std::exchange(m_paragraph.pendingCellBreak, false))
        sendText(u"\u2028", formatId);
    for (; m_paragraph.pendingCells > 0; --m_paragraph.pendingCells)
        sendText(u"\t", formatId);
}
