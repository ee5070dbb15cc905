#include "platform/rtf/RtfDocumentWriter.h"

#include "platform/rtf/RtfCharacterPolicy.h"

#include <QTextBlock>
#include <QTextDocument>

#include <charconv>

using namespace std::string_view_literals;

namespace {

// The longest thing one UTF-16 unit becomes: "\u-32768?" or a delimiter and a character.
constexpr qsizetype s_maxBytesPerUnit = 9;
// Enough for text that is mostly ASCII with some formatting and some \uN escapes.
constexpr qsizetype s_expectedBytesPerCharacter = 4;

// Both the bullet text older readers show and the description newer ones build a list from.
constexpr std::string_view s_bulletParagraph =
    "\\pard{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}\\fi-360\\li720"sv;

// A control word swallows one following space and runs on into letters, digits or a minus sign.
bool needsDelimiter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '-';
}

bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}';
}

bool isUnicodeEscaped(char16_t c)
{
    return c >= 0x80 && c != QChar::LineSeparator && !RtfCharacterPolicy::isDropped(c);
}

// \uN takes a signed 16-bit value; the '?' is the fallback older readers show instead.
char* writeUnicode(char* target, char16_t c)
{
    *target++ = '\\';
    *target++ = 'u';
    target = std::to_chars(target, target + 6, int(qint16(c))).ptr;
    *target++ = '?';
    return target;
}

} // namespace

// Reserving generously costs only address space, which stays untouched unless used; regrowing a
// buffer of many megabytes would copy it all.
RtfDocumentWriter::RtfDocumentWriter(const QTextDocument& document)
    : m_document(document), m_styles(document),
      m_body(document.characterCount() * s_expectedBytesPerCharacter + 4096)
{
}

QByteArray RtfDocumentWriter::write()
{
    const QString text = m_document.toRawText();
    bool previousWasBullet = false;
    for (QTextBlock block = m_document.begin(); block.isValid();) {
        const QTextBlock next = block.next();
        const bool bullet = block.textList() != nullptr;
        writeParagraphStart(bullet, previousWasBullet);
        writeBlock(block, text);
        if (next.isValid()) {
            m_body.append("\\par\n"sv);
            m_needsDelimiter = false;
        }
        previousWasBullet = bullet;
        block = next;
    }
    RtfByteSink header(4096);
    writeHeader(header);
    QByteArray document = header.take();
    document.reserve(document.size() + m_body.size() + 1);
    document.append(m_body.take());
    document.append('}');
    return document;
}

void RtfDocumentWriter::writeHeader(RtfByteSink& out)
{
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl"sv);
    for (qsizetype index = 0; index < m_styles.fonts().size(); ++index) {
        writeWord(out, "{\\f"sv, int(index));
        writeWord(out, "\\fnil"sv);
        // A semicolon ends a font name, so one inside a name travels as a byte escape.
        const QStringList parts = m_styles.fonts().at(index).split(u';');
        for (qsizetype part = 0; part < parts.size(); ++part) {
            out.append(part > 0 ? "\\'3b"sv : ""sv);
            writeText(out, parts.at(part));
        }
        out.append(";}"sv);
    }
    out.append("}{\\colortbl;"sv);
    for (const QRgb color : m_styles.colors()) {
        writeWord(out, "\\red"sv, qRed(color));
        writeWord(out, "\\green"sv, qGreen(color));
        writeWord(out, "\\blue"sv, qBlue(color));
        out.append(";"sv);
    }
    out.append("}{\\*\\generator Quillmere;}\\uc1\n"sv);
}

void RtfDocumentWriter::writeParagraphStart(bool bullet, bool previousWasBullet)
{
    if (bullet)
        writeWord(m_body, s_bulletParagraph);
    else if (previousWasBullet)
        writeWord(m_body, "\\pard"sv);
}

void RtfDocumentWriter::writeBlock(const QTextBlock& block, QStringView documentText)
{
    // Fragments of a block are contiguous: summing lengths avoids a tree walk per fragment.
    qsizetype position = block.position();
    bool wroteText = false;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        const qsizetype length = fragment.length();
        const QStringView text = documentText.sliced(position, length);
        wroteText |= writeRun(text, m_styles.styleFor(fragment.charFormatIndex()));
        position += length;
    }
    // An empty paragraph still carries the formatting of its paragraph mark.
    if (!wroteText)
        writeStyle(m_styles.styleFor(block.charFormatIndex()));
}

bool RtfDocumentWriter::writeRun(QStringView text, const RtfRunStyle& style)
{
    // Style changes are written only before characters that are kept, so they are the same
    // however the document splits its fragments.
    const auto kept = std::find_if(text.begin(), text.end(), [](QChar c) {
        return !RtfCharacterPolicy::isDropped(c.unicode());
    });
    if (kept == text.end())
        return false;
    if (!(style == m_current))
        writeStyle(style);
    writeText(m_body, text.sliced(kept - text.begin()));
    return true;
}

void RtfDocumentWriter::writeStyle(const RtfRunStyle& style)
{
    if (style.bold != m_current.bold)
        writeWord(m_body, style.bold ? "\\b"sv : "\\b0"sv);
    if (style.italic != m_current.italic)
        writeWord(m_body, style.italic ? "\\i"sv : "\\i0"sv);
    if (style.underline != m_current.underline)
        writeWord(m_body, style.underline ? "\\ul"sv : "\\ulnone"sv);
    if (style.strike != m_current.strike)
        writeWord(m_body, style.strike ? "\\strike"sv : "\\strike0"sv);
    if (style.color != m_current.color)
        writeWord(m_body, "\\cf"sv, style.color);
    if (style.font != m_current.font)
        writeWord(m_body, "\\f"sv, style.font);
    if (style.halfPoints != m_current.halfPoints)
        writeWord(m_body, "\\fs"sv, style.halfPoints);
    m_current = style;
}

void RtfDocumentWriter::writeWord(RtfByteSink& out, std::string_view word)
{
    out.append(word);
    m_needsDelimiter = true;
}

void RtfDocumentWriter::writeWord(RtfByteSink& out, std::string_view word, int parameter)
{
    char* target = out.reserve(qsizetype(word.size()) + 12);
    target = std::copy(word.begin(), word.end(), target);
    out.commit(std::to_chars(target, target + 12, parameter).ptr);
    m_needsDelimiter = true;
}

void RtfDocumentWriter::writeText(RtfByteSink& out, QStringView text)
{
    char* target = out.reserve(text.size() * s_maxBytesPerUnit);
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (isPlain(c)) {
            if (m_needsDelimiter && needsDelimiter(c))
                *target++ = ' ';
            m_needsDelimiter = false;
            *target++ = char(c);
        } else if (isUnicodeEscaped(c)) {
            target = writeUnicode(target, c);
            m_needsDelimiter = false;
        } else {
            target = writeSpecial(target, c);
        }
    }
    out.commit(target);
}

char* RtfDocumentWriter::writeSpecial(char* target, char16_t c)
{
    if (c == u'\t' || c == QChar::LineSeparator) {
        const std::string_view word = c == u'\t' ? "\\tab"sv : "\\line"sv;
        m_needsDelimiter = true;
        return std::copy(word.begin(), word.end(), target);
    }
    if (RtfCharacterPolicy::isDropped(c))
        return target;
    m_needsDelimiter = false;
    *target++ = '\\';
    *target++ = char(c);
    return target;
}
