#include "platform/rtf/RtfWriter.h"

#include "platform/rtf/RtfCharacterPolicy.h"

#include <QTextBlock>
#include <QTextDocument>

#include <charconv>
#include <cstring>

namespace {

// The longest thing one UTF-16 unit becomes: "\u-32768?" or a delimiter and a character.
constexpr qsizetype s_maxBytesPerUnit = 9;

// Both the bullet text older readers show and the description newer ones build a list from.
constexpr char s_bulletParagraph[] =
    "\\pard{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}\\fi-360\\li720";

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

char* append(char* target, const char* text)
{
    const size_t length = std::strlen(text);
    std::memcpy(target, text, length);
    return target + length;
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument& document)
{
    return RtfWriter(document).run();
}

RtfWriter::RtfWriter(const QTextDocument& document) : m_document(document), m_styles(document) {}

QByteArray RtfWriter::run()
{
    const QString text = m_document.toRawText();
    m_body.reserve(text.size() + text.size() / 4 + 1024);
    bool previousWasBullet = false;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        writeBlock(block, text, previousWasBullet);
        previousWasBullet = block.textList() != nullptr;
        if (block.next().isValid()) {
            m_body.append("\\par\n");
            m_needsDelimiter = false;
        }
    }
    QByteArray document = header();
    document.reserve(document.size() + m_body.size() + 1);
    document.append(m_body);
    document.append('}');
    return document;
}

QByteArray RtfWriter::header()
{
    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
    for (qsizetype index = 0; index < m_styles.fonts().size(); ++index) {
        writeWord(out, "{\\f", int(index));
        writeWord(out, "\\fnil");
        // A semicolon ends a font name, so one inside a name travels as a byte escape.
        const QStringList parts = m_styles.fonts().at(index).split(u';');
        for (qsizetype part = 0; part < parts.size(); ++part) {
            out.append(part > 0 ? "\\'3b" : "");
            writeText(out, parts.at(part));
        }
        out.append(";}");
    }
    out.append("}{\\colortbl;");
    for (const QRgb color : m_styles.colors()) {
        writeWord(out, "\\red", qRed(color));
        writeWord(out, "\\green", qGreen(color));
        writeWord(out, "\\blue", qBlue(color));
        out.append(';');
    }
    out.append("}{\\*\\generator Quillmere;}\\uc1\n");
    m_needsDelimiter = false;
    return out;
}

void RtfWriter::writeBlock(const QTextBlock& block, QStringView documentText,
                           bool previousWasBullet)
{
    if (block.textList())
        writeWord(m_body, s_bulletParagraph);
    else if (previousWasBullet)
        writeWord(m_body, "\\pard");
    bool wroteText = false;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        const QStringView text = documentText.sliced(fragment.position(), fragment.length());
        wroteText |= writeRun(text, m_styles.styleFor(fragment.charFormatIndex()));
    }
    // An empty paragraph still carries the formatting of its paragraph mark.
    if (!wroteText)
        writeStyle(m_styles.styleFor(block.charFormatIndex()));
}

bool RtfWriter::writeRun(QStringView text, const RtfRunStyle& style)
{
    // Style changes are written only before characters that are kept, so they are the same
    // however the document splits its fragments.
    const auto kept = std::find_if(text.begin(), text.end(), [](QChar c) {
        return !RtfCharacterPolicy::isDropped(c.unicode());
    });
    if (kept == text.end())
        return false;
    writeStyle(style);
    writeText(m_body, text.sliced(kept - text.begin()));
    return true;
}

void RtfWriter::writeStyle(const RtfRunStyle& style)
{
    if (style.bold != m_current.bold)
        writeWord(m_body, style.bold ? "\\b" : "\\b0");
    if (style.italic != m_current.italic)
        writeWord(m_body, style.italic ? "\\i" : "\\i0");
    if (style.underline != m_current.underline)
        writeWord(m_body, style.underline ? "\\ul" : "\\ulnone");
    if (style.strike != m_current.strike)
        writeWord(m_body, style.strike ? "\\strike" : "\\strike0");
    if (style.color != m_current.color)
        writeWord(m_body, "\\cf", style.color);
    if (style.font != m_current.font)
        writeWord(m_body, "\\f", style.font);
    if (style.halfPoints != m_current.halfPoints)
        writeWord(m_body, "\\fs", style.halfPoints);
    m_current = style;
}

void RtfWriter::writeWord(QByteArray& out, const char* word)
{
    out.append(word);
    m_needsDelimiter = true;
}

void RtfWriter::writeWord(QByteArray& out, const char* word, int parameter)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof(digits), parameter);
    out.append(word);
    out.append(digits, result.ptr - digits);
    m_needsDelimiter = true;
}

void RtfWriter::writeText(QByteArray& out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * s_maxBytesPerUnit);
    char* target = out.data() + start;
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (!isPlain(c)) {
            target = writeSpecial(target, c);
            continue;
        }
        if (m_needsDelimiter && needsDelimiter(c))
            *target++ = ' ';
        m_needsDelimiter = false;
        *target++ = char(c);
    }
    out.resize(target - out.constData());
}

char* RtfWriter::writeSpecial(char* target, char16_t c)
{
    if (c == u'\t' || c == QChar::LineSeparator) {
        m_needsDelimiter = true;
        return append(target, c == u'\t' ? "\\tab" : "\\line");
    }
    if (RtfCharacterPolicy::isDropped(c))
        return target;
    m_needsDelimiter = false;
    *target++ = '\\';
    if (c < 0x80) {
        *target++ = char(c);
        return target;
    }
    // \uN takes a signed 16-bit value; the '?' is the fallback older readers show instead.
    *target++ = 'u';
    target = std::to_chars(target, target + 6, int(qint16(c))).ptr;
    *target++ = '?';
    return target;
}
