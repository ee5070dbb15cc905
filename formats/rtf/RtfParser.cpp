#include "formats/rtf/RtfParser.h"

#include "formats/base/TextProperties.h"
#include "formats/rtf/BuiltInCodePages.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace {

// Word's largest font size, 1638 pt, in half-points.
constexpr int s_maxHalfPoints = 3276;
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
        m_body.finishNote(state().chars);
    m_body.finish(state().chars, m_info);
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
        m_body.finishNote(state().chars);
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
    if (afterStar && entry.keyword == Keyword::Style &&
        state().destination == Destination::StyleSheet) {
        m_styleSheet.startCharacterStyle(token.parameter);
        return;
    }
    if (afterStar || entry.keyword == Keyword::Unknown) {
        // \* marks a destination this reader may not know: its whole group is ignorable.
        if (afterStar)
            changeState().destination = Destination::Skipped;
        return;
    }
    if (!formatting && handleEncodingWord(entry.keyword, token))
        return;
    handleWordIn(state().destination, entry, token);
}

// A word the destination it comes in takes as its own; a destination of text alone takes none.
void RtfParser::handleWordIn(Destination destination, const RtfKeywordTable::Entry& entry,
                             const RtfToken& token)
{
    switch (destination) {
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
        m_body.handleLegacyNumberingWord(entry.keyword, token.parameter);
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
    case Destination::LevelText:
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter:
    case Destination::Info:
    case Destination::InfoTitle:
    case Destination::InfoAuthor:
        break;
    }
}

bool RtfParser::handleDestinationWord(Keyword keyword)
{
    switch (keyword) {
    case Keyword::FontTable:
    case Keyword::ColorTable:
    case Keyword::StyleSheet:
    case Keyword::ListTable:
    case Keyword::ListOverrideTable:
        openTable(keyword);
        return true;
    case Keyword::Field:
    case Keyword::FieldInstruction:
    case Keyword::FieldResult:
        return handleFieldWord(keyword);
    case Keyword::LevelText:
    case Keyword::ListLevel:
    case Keyword::LegacyTextBefore:
    case Keyword::LegacyTextAfter:
        return handleListTextWord(keyword);
    case Keyword::LegacyBullet:
    case Keyword::LegacyBulletText:
        // \pn's words give the list's style; \pntext holds only the marker, which is not text.
        m_body.handleLegacyNumberingWord(keyword, 0);
        changeState().destination =
            keyword == Keyword::LegacyBullet ? Destination::LegacyNumbering : Destination::Skipped;
        return true;
    case Keyword::Footnote:
    case Keyword::Header:
    case Keyword::HeaderLeft:
    case Keyword::HeaderRight:
    case Keyword::HeaderFirst:
    case Keyword::Footer:
    case Keyword::FooterLeft:
    case Keyword::FooterRight:
    case Keyword::FooterFirst:
        openStory(keyword);
        return true;
    case Keyword::Object:
        m_losses.add(QCoreApplication::translate("RtfReader", "embedded objects"));
        changeState().destination = Destination::Skipped;
        return true;
    case Keyword::Info:
    case Keyword::Title:
    case Keyword::Author:
        openInfo(keyword);
        return true;
    case Keyword::SkippedDestination:
        changeState().destination = Destination::Skipped;
        return true;
    case Keyword::ListEntry:
    case Keyword::ListOverrideEntry:
    case Keyword::ListPart:
    case Keyword::Picture:
    case Keyword::Transparent:
        return state().destination == Destination::Body && openBodyDestination(keyword);
    default:
        return false;
    }
}

// Only the body's text holds notes and furniture, and neither holds any of its own.
void RtfParser::openStory(Keyword keyword)
{
    if (state().destination != Destination::Body || state().inNote) {
        changeState().destination = Destination::Skipped;
        return;
    }
    changeState().inNote = true;
    if (keyword == Keyword::Footnote)
        m_body.startNote();
    else
        m_body.startStory(int(keyword) - int(Keyword::Header));
}

bool RtfParser::handleListTextWord(Keyword keyword)
{
    if (keyword == Keyword::LegacyTextBefore || keyword == Keyword::LegacyTextAfter) {
        changeState().destination =
            state().destination != Destination::LegacyNumbering ? Destination::Skipped
            : keyword == Keyword::LegacyTextBefore              ? Destination::LegacyTextBefore
                                                                : Destination::LegacyTextAfter;
        return true;
    }
    if (keyword == Keyword::LevelText && state().destination == Destination::ListTable) {
        changeState().destination = Destination::LevelText;
        return true;
    }
    // A level is a word of the list being read; in the body, a stray piece of a list table.
    return state().destination == Destination::Body && openBodyDestination(Keyword::ListPart);
}

void RtfParser::openTable(Keyword keyword)
{
    switch (keyword) {
    case Keyword::FontTable:
        changeState().destination = Destination::FontTable;
        m_fonts.startTable();
        break;
    case Keyword::ColorTable:
        changeState().destination = Destination::ColorTable;
        m_colors.startTable();
        break;
    case Keyword::StyleSheet:
        changeState().destination = Destination::StyleSheet;
        m_styleSheet.startTable();
        break;
    case Keyword::ListTable:
        changeState().destination = Destination::ListTable;
        m_lists.startListTable();
        break;
    default: // \listoverridetable
        changeState().destination = Destination::ListOverrideTable;
        m_lists.startOverrideTable();
        break;
    }
}

// A title or an author counts only inside \info, which counts only among the body's words.
void RtfParser::openInfo(Keyword keyword)
{
    const Destination in = state().destination;
    Destination& destination = changeState().destination;
    if (keyword == Keyword::Info) {
        destination = in == Destination::Body ? Destination::Info : Destination::Skipped;
    } else if (in != Destination::Info) {
        destination = Destination::Skipped;
    } else {
        const bool title = keyword == Keyword::Title;
        (title ? m_info.title : m_info.author).clear();
        destination = title ? Destination::InfoTitle : Destination::InfoAuthor;
    }
}

bool RtfParser::handleFieldWord(Keyword keyword)
{
    if (keyword == Keyword::FieldInstruction) {
        changeState().destination = Destination::FieldInstruction;
        return true;
    }
    if (keyword == Keyword::FieldResult) {
        // The result's text links to the target its instruction named, if any.
        if (const int link = m_links.startResult(); link > 0)
            changeState().chars.link = link;
        else if (m_links.resultIsPageNumber())
            changeState().chars.pageNumber = true;
        return true;
    }
    m_links.startField();
    // Outside the body's text the word is left to the destination in force.
    return state().destination == Destination::Body;
}

bool RtfParser::openBodyDestination(Keyword keyword)
{
    switch (keyword) {
    case Keyword::ListEntry:
    case Keyword::ListOverrideEntry:
    case Keyword::ListPart:
        // Some writers leave pieces of their list tables outside them: they are never text, nor
        // lists, as a list is only what the tables declare.
        changeState().destination = Destination::Skipped;
        return true;
    case Keyword::Picture:
        changeState().destination = Destination::Picture;
        m_picture.reset();
        return true;
    case Keyword::Transparent:
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
    // Word gives symbol fonts' characters as their bytes moved to U+F020..U+F0FF.
    if (unit < 0xf020 || unit > 0xf0ff ||
        !appendSymbolSign(static_cast<unsigned char>(unit & 0xff)))
        appendCharacter(unit >= 0 && unit <= 0xffff ? char16_t(unit) : u'\xfffd');
    m_fallbackLeft = m_tokenizer.skipText(state().unicodeSkip);
}

bool RtfParser::appendSymbolSign(unsigned char byte)
{
    const int page = m_text.codePageFor(state().chars.font);
    if (page == BuiltInCodePages::Symbol) {
        appendCharacter((*BuiltInCodePages::table(page))[byte]);
        return true;
    }
    const BuiltInCodePages::WideTable* signs = BuiltInCodePages::wideTable(page);
    if (!signs)
        return false;
    const char32_t sign = (*signs)[byte];
    if (QChar::requiresSurrogates(sign)) {
        appendCharacter(QChar::highSurrogate(sign));
        appendCharacter(QChar::lowSurrogate(sign));
    } else {
        appendCharacter(char16_t(sign));
    }
    return true;
}

void RtfParser::handleBodyWord(RtfKeywordTable::Entry entry, const RtfToken& token)
{
    // Character words, the most frequent, change the group's state: only they may copy it.
    if (entry.keyword >= Keyword::Plain && entry.keyword <= Keyword::Highlight) {
        applyCharacterWord(entry.keyword, token);
    } else if (entry.keyword == Keyword::Style) {
        // Each group in the seed text's style is a run of its own.
        if (m_styleSheet.isSeedStyle(token.parameter))
            changeState().chars.seedRun = TextProperties::newSeedRun();
        // Writers such as LibreOffice leave a style's formatting to the style sheet.
        else if (const auto style = m_styleSheet.style(token.parameter))
            changeState().chars = style->withLink(state().chars.link);
    } else if (entry.keyword == Keyword::SeedRunId && state().chars.seedRun != 0) {
        // Runs are numbered anew in each reading, the same number for every piece of one.
        const auto [run, added] = m_seedRuns.try_emplace(token.parameter, 0);
        if (added)
            run->second = TextProperties::newSeedRun();
        changeState().chars.seedRun = run->second;
    } else if (entry.keyword == Keyword::SeedRunLength && state().chars.seedRun != 0) {
        changeState().chars.seedRunLength = token.parameter;
    } else if (entry.keyword == Keyword::SeedRunWords && state().chars.seedRun != 0) {
        changeState().chars.seedRunWords = std::max(0, token.parameter);
    } else if (entry.keyword == Keyword::SeedRunBreaks && state().chars.seedRun != 0) {
        changeState().chars.seedRunBreaks = std::max(0, token.parameter);
    } else if (entry.keyword == Keyword::Character) {
        appendCharacter(entry.character);
    } else {
        m_body.handleWord(entry.keyword, token, state());
    }
}

void RtfParser::finishPicture()
{
    const QByteArray image = m_picture.image();
    if (image.isEmpty())
        m_losses.add(QCoreApplication::translate("RtfReader", "pictures other than PNG and JPEG"));
    else
        m_body.appendImage(image, m_picture.width(), m_picture.height());
    m_picture.reset();
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
            m_body.endParagraph(state().chars);
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
    case Destination::LevelText:
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter:
    case Destination::InfoTitle:
    case Destination::InfoAuthor:
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
    m_text.append(bytes);
}

void RtfParser::appendDecoded(QStringView text)
{
    if (state().destination == Destination::FontTable) {
        m_fonts.appendName(text);
    } else if (state().destination == Destination::FieldInstruction) {
        m_links.appendInstruction(text);
    } else if (state().destination == Destination::LevelText) {
        m_lists.appendLevelText(text);
    } else if (state().destination == Destination::LegacyTextBefore ||
               state().destination == Destination::LegacyTextAfter) {
        m_body.appendLegacyText(state().destination == Destination::LegacyTextAfter, text);
    } else if (state().destination == Destination::Body && !state().chars.hidden) {
        m_body.appendText(text, currentFormatId());
    } else if (state().destination == Destination::Body) {
        m_body.appendHidden(text, currentFormatId());
    } else if (state().destination == Destination::InfoTitle) {
        m_info.title.append(text);
    } else if (state().destination == Destination::InfoAuthor) {
        m_info.author.append(text);
    }
}

void RtfParser::decodeBytes()
{
    const int codePage = state().destination == Destination::FontTable
                             ? m_fonts.entryCodePage()
                             : m_text.codePageFor(state().chars.font);
    appendDecoded(m_text.decode(codePage));
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
