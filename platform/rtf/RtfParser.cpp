#include "platform/rtf/RtfParser.h"

#include "platform/rtf/RtfCharacterPolicy.h"

#include <algorithm>
#include <utility>

namespace {

// Real documents nest a few dozen groups; deeper braces are counted, not stored.
constexpr size_t s_maxDepth = 512;
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

RtfParser::RtfParser(QByteArrayView data, QTextDocument* document)
    : m_tokenizer(data), m_builder(document)
{
    m_groups.reserve(s_maxDepth);
    m_groups.emplace_back();
}

void RtfParser::parse()
{
    for (RtfToken token = m_tokenizer.next(); token.type != RtfToken::Type::End && !m_finished;
         token = m_tokenizer.next())
        handleToken(token);
    flushBytes();
    m_builder.finish(m_bullet, currentFormatId());
}

void RtfParser::handleToken(RtfToken token)
{
    if (token.type == RtfToken::Type::GroupStart || token.type == RtfToken::Type::GroupEnd) {
        flushBytes();
        m_fallbackLeft = 0;
        m_destinationPending = false;
        token.type == RtfToken::Type::GroupStart ? openGroup() : closeGroup();
        return;
    }
    if (m_fallbackLeft > 0 && !skipFallback(token))
        return;
    if (state().destination == Destination::Skipped) {
        if (token.type == RtfToken::Type::ControlWord &&
            RtfKeywordTable::find(token.bytes).keyword == Keyword::Binary)
            m_tokenizer.skipBytes(token.parameter);
        return;
    }
    const bool afterStar = std::exchange(m_destinationPending, false);
    switch (token.type) {
    case RtfToken::Type::ControlWord:
        flushBytes();
        handleControlWord(token, afterStar);
        break;
    case RtfToken::Type::ControlSymbol:
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
    if (token.type == RtfToken::Type::ControlWord &&
        RtfKeywordTable::find(token.bytes).keyword == Keyword::Binary)
        m_tokenizer.skipBytes(token.parameter);
    return false;
}

void RtfParser::openGroup()
{
    if (m_groups.size() >= s_maxDepth)
        ++m_overflowDepth;
    else
        m_groups.push_back(m_groups.back());
}

void RtfParser::closeGroup()
{
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    const Destination closing = state().destination;
    if (closing == Destination::FontTable)
        commitFontEntry();
    // The document's own group stays, so the last paragraph ends with the formatting inside it.
    if (m_groups.size() <= 2) {
        m_finished = true;
        return;
    }
    m_groups.pop_back();
    if (closing != state().destination &&
        (closing == Destination::FontTable || closing == Destination::ColorTable))
        tablesChanged();
}

void RtfParser::handleControlWord(const RtfToken& token, bool afterStar)
{
    const RtfKeywordTable::Entry entry = RtfKeywordTable::find(token.bytes);
    if (handleDestinationWord(entry.keyword))
        return;
    if (afterStar) {
        // \* marks a destination this reader may not know: its whole group is ignorable.
        state().destination = Destination::Skipped;
        return;
    }
    if (handleEncodingWord(entry.keyword, token))
        return;
    switch (state().destination) {
    case Destination::Body:
        handleBodyWord(entry, token);
        break;
    case Destination::FontTable:
        handleFontTableWord(entry.keyword, token);
        break;
    case Destination::ColorTable:
        handleColorTableWord(entry.keyword, token);
        break;
    case Destination::Skipped:
        break;
    }
}

bool RtfParser::handleDestinationWord(Keyword keyword)
{
    switch (keyword) {
    case Keyword::FontTable:
        state().destination = Destination::FontTable;
        m_fontEntryOpen = false;
        return true;
    case Keyword::ColorTable:
        state().destination = Destination::ColorTable;
        m_colors.clear();
        m_colorSet = false;
        return true;
    case Keyword::LegacyBullet:
    case Keyword::LegacyBulletText:
        // Every legacy list becomes a bullet list: that is the only kind this program has.
        m_bullet = true;
        state().destination = Destination::Skipped;
        return true;
    case Keyword::SkippedDestination:
        state().destination = Destination::Skipped;
        return true;
    default:
        return false;
    }
}

bool RtfParser::handleEncodingWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::Ansi:
        m_ansiCodePage = 1252;
        return true;
    case Keyword::Mac:
        m_ansiCodePage = 10000;
        return true;
    case Keyword::Pc:
        m_ansiCodePage = 437;
        return true;
    case Keyword::Pca:
        m_ansiCodePage = 850;
        return true;
    case Keyword::AnsiCodePage:
        m_ansiCodePage = token.parameter > 0 ? token.parameter : 1252;
        return true;
    case Keyword::DefaultFont:
        m_defaultFont = nonNegative(token);
        tablesChanged();
        return true;
    case Keyword::Binary:
        m_tokenizer.skipBytes(token.parameter);
        return true;
    case Keyword::UnicodeSkip:
        state().unicodeSkip = token.hasParameter ? nonNegative(token) : 1;
        return true;
    case Keyword::Unicode:
        if (token.hasParameter) {
            const int unit = token.parameter < 0 ? token.parameter + 0x10000 : token.parameter;
            appendCharacter(unit >= 0 && unit <= 0xffff ? char16_t(unit) : u'\xfffd');
            m_fallbackLeft = state().unicodeSkip;
        }
        return true;
    default:
        return false;
    }
}

void RtfParser::handleBodyWord(RtfKeywordTable::Entry entry, const RtfToken& token)
{
    switch (entry.keyword) {
    case Keyword::ParagraphDefault:
        m_bullet = false;
        break;
    case Keyword::ListOverride:
        m_bullet = token.parameter > 0;
        break;
    case Keyword::Paragraph:
        endParagraph();
        break;
    case Keyword::Character:
        appendCharacter(entry.character);
        break;
    default:
        applyCharacterWord(entry.keyword, token);
        break;
    }
}

void RtfParser::applyCharacterWord(Keyword keyword, const RtfToken& token)
{
    RtfCharState& chars = state().chars;
    switch (keyword) {
    case Keyword::Plain:
        chars = RtfCharState();
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
    default:
        break;
    }
}

void RtfParser::handleFontTableWord(Keyword keyword, const RtfToken& token)
{
    switch (keyword) {
    case Keyword::Font:
        commitFontEntry();
        m_fontNumber = token.parameter;
        m_fontEntry = RtfFontEntry();
        m_fontEntryOpen = true;
        break;
    case Keyword::FontCharset:
        m_fontEntry.codePage = CodePageDecoder::codePageForCharset(token.parameter);
        break;
    case Keyword::CodePage:
        m_fontEntry.codePage = nonNegative(token);
        break;
    default:
        break;
    }
}

void RtfParser::handleColorTableWord(Keyword keyword, const RtfToken& token)
{
    const int component = std::clamp(token.parameter, 0, 255);
    switch (keyword) {
    case Keyword::Red:
        m_rgb[0] = component;
        break;
    case Keyword::Green:
        m_rgb[1] = component;
        break;
    case Keyword::Blue:
        m_rgb[2] = component;
        break;
    default:
        return;
    }
    m_colorSet = true;
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
    case '*':
        m_destinationPending = true;
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
        handleColorTableText(bytes);
        break;
    case Destination::Skipped:
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

void RtfParser::handleColorTableText(std::string_view bytes)
{
    for (const char c : bytes) {
        if (c == ';')
            commitColor();
    }
}

void RtfParser::appendBytes(std::string_view bytes)
{
    if (state().destination == Destination::Body && state().chars.hidden)
        return;
    m_bytes.append(bytes.data(), qsizetype(bytes.size()));
}

void RtfParser::appendCharacter(char16_t character)
{
    flushBytes();
    appendDecoded(QStringView(&character, 1));
}

void RtfParser::appendDecoded(QStringView text)
{
    if (state().destination == Destination::FontTable)
        m_fontEntry.family.append(text);
    else if (state().destination == Destination::Body && !state().chars.hidden)
        m_builder.appendText(text, currentFormatId());
}

void RtfParser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const bool inFontTable = state().destination == Destination::FontTable;
    const int codePage = inFontTable && m_fontEntry.codePage > 0 ? m_fontEntry.codePage
                         : inFontTable                           ? m_ansiCodePage
                                                                 : codePageFor(state().chars.font);
    m_decoded.resize(0);
    m_decoder.decode(codePage, m_bytes, m_decoded);
    m_bytes.resize(0);
    appendDecoded(m_decoded);
}

void RtfParser::endParagraph()
{
    flushBytes();
    m_builder.endParagraph(m_bullet, currentFormatId());
}

void RtfParser::commitFontEntry()
{
    if (!m_fontEntryOpen)
        return;
    flushBytes();
    m_fontEntry.family = RtfCharacterPolicy::fontName(m_fontEntry.family);
    m_fonts.insert(m_fontNumber, std::exchange(m_fontEntry, RtfFontEntry()));
    m_fontEntryOpen = false;
}

void RtfParser::commitColor()
{
    m_colors.push_back(m_colorSet ? std::optional(QColor(m_rgb[0], m_rgb[1], m_rgb[2]))
                                  : std::nullopt);
    m_colorSet = false;
    std::fill(std::begin(m_rgb), std::end(m_rgb), 0);
}

void RtfParser::tablesChanged()
{
    m_formatIds.clear();
    m_formatId = -1;
}

int RtfParser::currentFormatId()
{
    RtfCharState key = state().chars;
    key.hidden = false;
    if (m_formatId >= 0 && key == m_formatState)
        return m_formatId;
    auto found = m_formatIds.constFind(key);
    if (found == m_formatIds.constEnd())
        found = m_formatIds.insert(key, m_builder.addFormat(formatFor(key)));
    m_formatState = key;
    m_formatId = found.value();
    return m_formatId;
}

QTextCharFormat RtfParser::formatFor(const RtfCharState& chars) const
{
    QTextCharFormat format;
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.color > 0 && std::cmp_less(chars.color, m_colors.size()) && m_colors[chars.color])
        format.setForeground(*m_colors[chars.color]);
    if (const QString family = familyFor(chars.font); !family.isEmpty())
        format.setFontFamilies({family});
    if (chars.halfPoints > 0)
        format.setFontPointSize(chars.halfPoints / 2.0);
    return format;
}

QString RtfParser::familyFor(int font) const
{
    // Fonts missing from the table fall back to \deff, then to the document's own default.
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && !found->family.isEmpty())
        return found->family;
    return font == m_defaultFont ? QString() : m_fonts.value(m_defaultFont).family;
}

int RtfParser::codePageFor(int font) const
{
    const auto found = m_fonts.constFind(font == RtfCharState::DefaultFont ? m_defaultFont : font);
    return found != m_fonts.constEnd() && found->codePage > 0 ? found->codePage : m_ansiCodePage;
}
