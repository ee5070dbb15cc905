#include "formats/rtf/RtfParser.h"

#include "formats/rtf/RtfCharacterPolicy.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

// Word's largest font size, 1638 pt, in half-points.
constexpr int s_maxHalfPoints = 3276;
// Word's largest indent or spacing, 22 inches, in twips.
constexpr int s_maxTwips = 31680;

int twips(const RtfToken& token, int minimum)
{
    return std::clamp(token.parameter, minimum, s_maxTwips);
}

bool isOn(const RtfToken& token)
{
    return !token.hasParameter || token.parameter != 0;
}

int nonNegative(const RtfToken& token)
{
    return std::max(token.parameter, 0);
}

} // namespace

RtfParser::RtfParser(QByteArrayView data, RtfBuildStream::Sink sink)
    : m_tokenizer(data), m_stream(std::move(sink))
{
    // The level outside the document and the document's own group, which data starts inside.
    m_groups.push_back({RtfGroupState(), 2});
}

void RtfParser::parse(const Progress& progress)
{
    constexpr qsizetype progressStep = 1 << 18;
    qsizetype nextReport = progress ? progressStep : m_tokenizer.size() + 1;
    for (RtfToken token = m_tokenizer.next(); token.type != RtfToken::Type::End && !m_finished;
         token = m_tokenizer.next()) {
        handleToken(token);
        if (m_tokenizer.consumed() >= nextReport) {
            progress(m_tokenizer.consumed(), m_tokenizer.size());
            nextReport = m_tokenizer.consumed() + progressStep;
        }
    }
    flushBytes();
    if (state().inNote)
        finishNote();
    // A last, empty paragraph that only carries on a list is no item of it.
    if (!m_listDeclared && m_paragraphEmpty)
        m_paragraph.list = QTextListFormat::ListStyleUndefined;
    m_stream.finish(currentFormatId(), m_paragraph);
}

// Inlined: the parse loop runs them for every token.
Q_ALWAYS_INLINE void RtfParser::handleToken(const RtfToken& token)
{
    if (token.type == RtfToken::Type::GroupStart || token.type == RtfToken::Type::GroupEnd) {
        flushBytes();
        m_fallbackLeft = 0;
        m_destinationPending = false;
        // \* makes a group an ignorable destination only as the group's first token.
        m_groupStart = token.type == RtfToken::Type::GroupStart;
        m_groupStart ? openGroup() : closeGroup();
        return;
    }
    if (m_fallbackLeft > 0) {
        RtfToken rest = token;
        if (skipFallback(rest))
            handleContent(rest);
        return;
    }
    handleContent(token);
}

Q_ALWAYS_INLINE void RtfParser::handleContent(const RtfToken& token)
{
    if (state().destination == Destination::Skipped) {
        if (token.type == RtfToken::Type::ControlWord && token.bytes == "bin")
            m_tokenizer.skipBytes(token.parameter);
        return;
    }
    if (state().destination == Destination::Picture && token.type == RtfToken::Type::Text) {
        m_picture.appendHex(token.bytes);
        return;
    }
    const bool afterStar = std::exchange(m_destinationPending, false);
    switch (token.type) {
    case RtfToken::Type::ControlWord:
        flushBytes();
        handleControlWord(token, afterStar);
        break;
    case RtfToken::Type::ControlSymbol:
        if (token.value == '*')
            m_destinationPending = m_groupStart;
        else
            handleControlSymbol(token.value);
        break;
    case RtfToken::Type::HexByte:
        if (state().destination != Destination::ColorTable)
            appendBytes(std::string_view(reinterpret_cast<const char*>(&token.value), 1));
        break;
    case RtfToken::Type::Text:
        handleText(token.bytes);
        break;
    default:
        break;
    }
    m_groupStart = false;
}

bool RtfParser::skipFallback(RtfToken& token)
{
    // The characters after \uN stand in for it in older readers. True when part of a text span
    // outlasts them and remains to be read.
    if (token.type == RtfToken::Type::Text &&
        std::cmp_greater(token.bytes.size(), m_fallbackLeft)) {
        token.bytes.remove_prefix(static_cast<size_t>(std::exchange(m_fallbackLeft, 0)));
        return true;
    }
    if (token.type == RtfToken::Type::Text) {
        m_fallbackLeft -= int(token.bytes.size());
        return false;
    }
    --m_fallbackLeft;
    if (token.type == RtfToken::Type::ControlWord && token.bytes == "bin")
        m_tokenizer.skipBytes(token.parameter);
    return false;
}

RtfGroupState& RtfParser::changeState()
{
    m_formats.forgetCurrent();
    if (GroupLevel& level = m_groups.back(); level.groups > 1) {
        --level.groups;
        m_groups.push_back({level.state, 1});
    }
    return m_groups.back().state;
}

void RtfParser::openGroup()
{
    ++m_groups.back().groups;
    ++m_depth;
}

void RtfParser::closeGroup()
{
    const Destination closing = state().destination;
    const bool closingNote = state().inNote;
    if (closing == Destination::FontTable)
        commitFontEntry();
    // The document's own group stays, so the last paragraph ends with the formatting inside it.
    if (m_depth <= 1) {
        m_finished = true;
        return;
    }
    --m_depth;
    if (--m_groups.back().groups == 0) {
        m_groups.pop_back();
        m_formats.forgetCurrent();
    }
    if (closingNote && !state().inNote)
        finishNote();
    if (closing == state().destination)
        return;
    if (closing == Destination::FontTable || closing == Destination::ColorTable)
        tablesChanged();
    else if (closing == Destination::ListTable)
        m_lists.commitList();
    else if (closing == Destination::Picture)
        finishPicture();
}

void RtfParser::handleControlWord(const RtfToken& token, bool afterStar)
{
    // \uN, once per character outside ASCII in most files, means the same in every destination.
    if (!afterStar && token.bytes == "u") {
        if (token.hasParameter)
            appendUnicode(token.parameter);
        return;
    }
    const RtfKeywordTable::Entry entry = RtfKeywordTable::find(token.bytes);
    // Formatting words, most of a file, come after the destination and encoding words.
    const bool formatting = entry.keyword >= Keyword::Plain;
    if (!formatting && handleDestinationWord(entry.keyword))
        return;
    if (afterStar || entry.keyword == Keyword::Unknown) {
        // \* marks a destination this reader may not know: its whole group is ignorable.
        if (afterStar)
            changeState().destination = Destination::Skipped;
        return;
    }
    if (!formatting && handleEncodingWord(entry.keyword, token))
        return;
    switch (state().destination) {
    case Destination::Body:
        handleBodyWord(entry, token);
        break;
    case Destination::ListTable:
        m_lists.handleListWord(entry.keyword, token.parameter);
        break;
    case Destination::ListOverrideTable:
        m_lists.handleOverrideWord(entry.keyword, token.parameter);
        break;
    case Destination::LegacyNumbering:
        handleLegacyNumberingWord(entry.keyword);
        break;
    case Destination::StyleSheet:
        if (!m_styleSheet.handleWord(entry.keyword, token.parameter))
            applyCharacterWord(entry.keyword, token);
        break;
    case Destination::Picture:
        m_picture.handleWord(entry.keyword, token.parameter);
        break;
    case Destination::FontTable:
        m_fonts.handleWord(entry.keyword, token.parameter);
        break;
    case Destination::ColorTable:
        m_colors.handleWord(entry.keyword, token.parameter);
        break;
    case Destination::Skipped:
    case Destination::FieldInstruction:
        break;
    }
}

bool RtfParser::handleDestinationWord(Keyword keyword)
{
    switch (keyword) {
    case Keyword::FontTable:
        changeState().destination = Destination::FontTable;
        m_fonts.startTable();
        return true;
    case Keyword::ColorTable:
        changeState().destination = Destination::ColorTable;
        m_colors.startTable();
        return true;
    case Keyword::LegacyBullet:
        // Older writers describe the list in \pn; its keywords say bullet or number style.
        m_paragraph.list = QTextListFormat::ListDisc;
        m_listDeclared = true;
        changeState().destination = Destination::LegacyNumbering;
        return true;
    case Keyword::LegacyBulletText:
        // The marker text: a list is certain, its kind comes from \pn, which may follow.
        if (m_paragraph.list == QTextListFormat::ListStyleUndefined)
            m_paragraph.list = QTextListFormat::ListDisc;
        m_listDeclared = true;
        changeState().destination = Destination::Skipped;
        return true;
    case Keyword::ListTable:
        changeState().destination = Destination::ListTable;
        m_lists.startListTable();
        return true;
    case Keyword::ListEntry:
    case Keyword::ListOverrideEntry:
    case Keyword::ListPart:
        // Some writers leave pieces of their list tables outside them; they are never text.
        if (state().destination != Destination::Body)
            return false;
        m_lists.handleListWord(Keyword::ListEntry, 0);
        changeState().destination = keyword == Keyword::ListEntry ? Destination::ListTable
                                    : keyword == Keyword::ListOverrideEntry
                                        ? Destination::ListOverrideTable
                                        : Destination::Skipped;
        return true;
    case Keyword::Footnote:
        if (state().destination != Destination::Body || state().inNote) {
            changeState().destination = Destination::Skipped;
            return true;
        }
        startNote();
        return true;
    case Keyword::ListOverrideTable:
        changeState().destination = Destination::ListOverrideTable;
        m_lists.startOverrideTable();
        return true;
    case Keyword::StyleSheet:
        changeState().destination = Destination::StyleSheet;
        m_styleSheet.startTable();
        return true;
    case Keyword::Field:
        m_links.startField();
        return state().destination == Destination::Body;
    case Keyword::FieldInstruction:
        changeState().destination = Destination::FieldInstruction;
        return true;
    case Keyword::FieldResult:
        if (const int link = m_links.startResult(); link > 0)
            changeState().chars.link = link;
        return true;
    case Keyword::Picture:
        if (state().destination != Destination::Body)
            return false;
        changeState().destination = Destination::Picture;
        m_picture.reset();
        return true;
    case Keyword::Transparent:
        return state().destination == Destination::Body;
    case Keyword::Object:
        addLoss(QCoreApplication::translate("RtfReader", "embedded objects"));
        changeState().destination = Destination::Skipped;
        return true;
    case Keyword::SkippedDestination:
        changeState().destination = Destination::Skipped;
        return true;
    default:
        return false;
    }
}

bool RtfParser::handleEncodingWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::Ansi:
        m_text.setAnsiCodePage(1252);
        return true;
    case Keyword::Mac:
        m_text.setAnsiCodePage(10000);
        return true;
    case Keyword::Pc:
        m_text.setAnsiCodePage(437);
        return true;
    case Keyword::Pca:
        m_text.setAnsiCodePage(850);
        return true;
    case Keyword::AnsiCodePage:
        m_text.setAnsiCodePage(token.parameter > 0 ? token.parameter : 1252);
        return true;
    case Keyword::DefaultFont:
        m_fonts.setDefaultFont(nonNegative(token));
        tablesChanged();
        return true;
    case Keyword::Binary:
        if (state().destination == Destination::Picture)
            m_picture.appendBinary(m_tokenizer.skipBytes(token.parameter));
        else
            m_tokenizer.skipBytes(token.parameter);
        return true;
    case Keyword::UnicodeSkip:
        changeState().unicodeSkip = token.hasParameter ? nonNegative(token) : 1;
        return true;
    case Keyword::Unicode:
        if (token.hasParameter)
            appendUnicode(token.parameter);
        return true;
    default:
        return false;
    }
}

void RtfParser::appendUnicode(int parameter)
{
    const int unit = parameter < 0 ? parameter + 0x10000 : parameter;
    // Word gives the Symbol font's characters as its bytes moved to U+F020..U+F0FF.
    if (unit >= 0xf020 && unit <= 0xf0ff &&
        m_text.codePageFor(state().chars.font) == BuiltInCodePages::Symbol)
        appendCharacter((*BuiltInCodePages::table(BuiltInCodePages::Symbol))[unit & 0xff]);
    else
        appendCharacter(unit >= 0 && unit <= 0xffff ? char16_t(unit) : u'\xfffd');
    m_fallbackLeft = m_tokenizer.skipText(state().unicodeSkip);
}

void RtfParser::handleBodyWord(RtfKeywordTable::Entry entry, const RtfToken& token)
{
    switch (entry.keyword) {
    case Keyword::Paragraph:
        if (m_paragraph.inTable) {
            flushBytes();
            m_pendingCellBreak = true;
        } else {
            endParagraph();
        }
        break;
    case Keyword::Style:
        // Writers such as LibreOffice leave a style's formatting to the style sheet.
        if (const auto style = m_styleSheet.style(token.parameter))
            changeState().chars = style->withLink(state().chars.link);
        break;
    case Keyword::Character:
        appendCharacter(entry.character);
        break;
    case Keyword::Cell:
        // A tab goes between cells only, so it waits for the next cell's text.
        m_pendingCells = std::min(m_pendingCells + 1, 1 << 20);
        m_pendingCellBreak = false;
        break;
    case Keyword::Row:
        m_pendingCells = 0;
        m_pendingCellBreak = false;
        endParagraph();
        break;
    case Keyword::InTable:
        m_paragraph.inTable = true;
        break;
    case Keyword::TableRow:
        addLoss(QCoreApplication::translate("RtfReader", "table layout (cell texts are kept)"));
        break;
    case Keyword::FootnoteMark:
        appendNoteMark();
        break;
    default:
        // Character words, the most frequent, change the group's state: only they may copy it.
        if (entry.keyword >= Keyword::Plain && entry.keyword <= Keyword::Highlight)
            applyCharacterWord(entry.keyword, token);
        else if (entry.keyword >= Keyword::TabPosition &&
                 entry.keyword <= Keyword::TabLeaderMiddleDots)
            applyTabWord(entry.keyword, token);
        else
            applyParagraphWord(entry.keyword, token);
        break;
    }
}

void RtfParser::applyTabWord(Keyword keyword, const RtfToken& token)
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
        if (m_paragraph.tabs.size() < RtfCharacterPolicy::MaxTabStops)
            m_paragraph.tabs.append(
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

bool RtfParser::applyParagraphWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::ParagraphDefault:
        m_paragraph = RtfParagraphState();
        break;
    case Keyword::ListOverride:
        m_paragraph.list = m_lists.overrideStyle(token.parameter);
        m_listDeclared = true;
        break;
    case Keyword::AlignLeft:
        m_paragraph.alignment = RtfParagraphState::Alignment::Left;
        break;
    case Keyword::AlignCenter:
        m_paragraph.alignment = RtfParagraphState::Alignment::Center;
        break;
    case Keyword::AlignRight:
        m_paragraph.alignment = RtfParagraphState::Alignment::Right;
        break;
    case Keyword::AlignJustify:
        m_paragraph.alignment = RtfParagraphState::Alignment::Justify;
        break;
    case Keyword::LeftIndent:
        m_paragraph.leftIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::RightIndent:
        m_paragraph.rightIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::FirstIndent:
        m_paragraph.firstIndent = twips(token, -s_maxTwips);
        break;
    case Keyword::SpaceBefore:
        m_paragraph.spaceBefore = twips(token, 0);
        break;
    case Keyword::SpaceAfter:
        m_paragraph.spaceAfter = twips(token, 0);
        break;
    default:
        return false;
    }
    return true;
}

void RtfParser::handleLegacyNumberingWord(Keyword keyword)
{
    switch (keyword) {
    case Keyword::BulletLevel:
        m_paragraph.list = QTextListFormat::ListDisc;
        break;
    case Keyword::NumberedLevel:
    case Keyword::NumberDecimal:
        m_paragraph.list = QTextListFormat::ListDecimal;
        break;
    case Keyword::NumberLowerLetter:
        m_paragraph.list = QTextListFormat::ListLowerAlpha;
        break;
    case Keyword::NumberUpperLetter:
        m_paragraph.list = QTextListFormat::ListUpperAlpha;
        break;
    case Keyword::NumberLowerRoman:
        m_paragraph.list = QTextListFormat::ListLowerRoman;
        break;
    case Keyword::NumberUpperRoman:
        m_paragraph.list = QTextListFormat::ListUpperRoman;
        break;
    default:
        break;
    }
}

void RtfParser::finishPicture()
{
    const QByteArray image = m_picture.image();
    if (image.isEmpty()) {
        addLoss(QCoreApplication::translate("RtfReader", "pictures other than PNG and JPEG"));
    } else {
        emitPendingCells();
        m_stream.appendImage(image, m_picture.width(), m_picture.height(), m_paragraph);
        m_paragraphEmpty = false;
    }
    m_picture.reset();
}

void RtfParser::startNote()
{
    flushBytes();
    addLoss(QCoreApplication::translate("RtfReader", "footnotes (shown as numbered notes at the "
                                                     "end)"));
    m_body = {std::exchange(m_paragraph, RtfParagraphState()), std::exchange(m_pendingCells, 0),
              std::exchange(m_pendingCellBreak, false), std::exchange(m_listDeclared, false),
              std::exchange(m_paragraphEmpty, true)};
    ++m_notes;
    changeState().inNote = true;
    RtfCharState heading;
    heading.bold = true;
    m_stream.startNote(m_formats.id(heading), m_paragraph);
}

void RtfParser::finishNote()
{
    flushBytes();
    m_stream.endNote(currentFormatId(), m_paragraph);
    m_paragraph = std::move(m_body.paragraph);
    m_pendingCells = m_body.pendingCells;
    m_pendingCellBreak = m_body.pendingCellBreak;
    m_listDeclared = m_body.listDeclared;
    m_paragraphEmpty = m_body.paragraphEmpty;
}

void RtfParser::appendNoteMark()
{
    // In the body the mark numbers the note that follows it; in the note, the note itself.
    const QString number = QString::number(state().inNote ? m_notes : m_notes + 1);
    flushBytes();
    if (state().chars.hidden)
        return;
    RtfCharState mark = state().chars;
    mark.vertical = 1;
    emitPendingCells();
    sendText(number, m_formats.id(mark));
}

void RtfParser::addLoss(const QString& loss)
{
    if (!m_losses.contains(loss))
        m_losses.append(loss);
}

void RtfParser::emitCells()
{
    if (std::exchange(m_pendingCellBreak, false))
        sendText(u"\u2028", currentFormatId());
    for (; m_pendingCells > 0; --m_pendingCells)
        sendText(u"\t", currentFormatId());
}

void RtfParser::applyCharacterWord(Keyword keyword, const RtfToken& token)
{
    RtfCharState& chars = changeState().chars;
    switch (keyword) {
    case Keyword::Plain:
        // A link belongs to the field result, not to the character formatting \plain resets.
        chars = RtfCharState().withLink(chars.link);
        break;
    case Keyword::Bold:
        chars.bold = isOn(token);
        break;
    case Keyword::Italic:
        chars.italic = isOn(token);
        break;
    case Keyword::Underline:
    case Keyword::UnderlineNone:
        chars.underline = keyword == Keyword::Underline && isOn(token);
        break;
    case Keyword::Strike:
        chars.strike = isOn(token);
        break;
    case Keyword::Hidden:
        chars.hidden = isOn(token);
        break;
    case Keyword::Color:
        chars.color = nonNegative(token);
        break;
    case Keyword::Font:
        chars.font = token.parameter < 0 ? RtfCharState::DefaultFont : token.parameter;
        break;
    case Keyword::FontSize:
        chars.halfPoints = std::clamp(token.parameter, 0, s_maxHalfPoints);
        break;
    case Keyword::Superscript:
        chars.vertical = isOn(token) ? 1 : 0;
        break;
    case Keyword::Subscript:
        chars.vertical = isOn(token) ? 2 : 0;
        break;
    case Keyword::NoSuperSub:
        chars.vertical = 0;
        break;
    case Keyword::Highlight:
        chars.highlight = nonNegative(token);
        break;
    default:
        break;
    }
}

void RtfParser::handleControlSymbol(unsigned char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        // Kept as a byte: it may be the trail byte of a double-byte character.
        appendBytes(std::string_view(reinterpret_cast<const char*>(&symbol), 1));
        break;
    case '~':
        appendCharacter(u'\u00a0');
        break;
    case '-':
        appendCharacter(u'\u00ad');
        break;
    case '_':
        appendCharacter(u'\u2011');
        break;
    case '\r':
    case '\n':
        flushBytes();
        if (state().destination == Destination::Body)
            endParagraph();
        break;
    default:
        break;
    }
}

void RtfParser::handleText(std::string_view bytes)
{
    switch (state().destination) {
    case Destination::Body:
        appendBytes(bytes);
        break;
    case Destination::FontTable:
        handleFontTableText(bytes);
        break;
    case Destination::ColorTable:
        m_colors.handleText(bytes);
        break;
    case Destination::FieldInstruction:
        appendBytes(bytes);
        break;
    case Destination::StyleSheet:
        m_styleSheet.handleText(bytes, state().chars);
        break;
    default:
        break;
    }
}

void RtfParser::handleFontTableText(std::string_view bytes)
{
    for (size_t end = bytes.find(';'); end != std::string_view::npos; end = bytes.find(';')) {
        appendBytes(bytes.substr(0, end));
        commitFontEntry();
        bytes.remove_prefix(end + 1);
    }
    appendBytes(bytes);
}

void RtfParser::appendBytes(std::string_view bytes)
{
    if (state().destination == Destination::Body && state().chars.hidden)
        return;
    m_text.append(bytes);
}

void RtfParser::sendText(QStringView text, int formatId)
{
    m_paragraphEmpty = m_paragraphEmpty && std::all_of(text.begin(), text.end(), [](QChar c) {
                           return RtfCharacterPolicy::isDropped(c.unicode());
                       });
    m_stream.appendText(text, formatId, m_paragraph);
}

void RtfParser::appendDecoded(QStringView text)
{
    if (state().destination == Destination::FontTable) {
        m_fonts.appendName(text);
    } else if (state().destination == Destination::FieldInstruction) {
        m_links.appendInstruction(text);
    } else if (state().destination == Destination::Body && !state().chars.hidden) {
        emitPendingCells();
        sendText(text, currentFormatId());
    }
}

void RtfParser::decodeBytes()
{
    const int codePage = state().destination == Destination::FontTable
                             ? m_fonts.entryCodePage()
                             : m_text.codePageFor(state().chars.font);
    appendDecoded(m_text.decode(codePage));
}

void RtfParser::endParagraph()
{
    flushBytes();
    m_stream.endParagraph(currentFormatId(), m_paragraph);
    m_listDeclared = false;
    m_paragraphEmpty = true;
}

void RtfParser::commitFontEntry()
{
    if (!m_fonts.isEntryOpen())
        return;
    // The end of the entry's name may still be waiting here as bytes.
    flushBytes();
    m_fonts.commitEntry();
    m_text.fontsChanged();
}

void RtfParser::tablesChanged()
{
    m_formats.tablesChanged();
    m_text.fontsChanged();
}
