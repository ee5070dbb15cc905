#include "formats/TextDecoding.h"

#include <QStringDecoder>

#include <array>

namespace {

// 0x80 to 0x9f of Windows-1252; its five unassigned bytes keep their C1 control, as Windows does.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = QChar(b >= 0x80 && b < 0xa0 ? windows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

// Only a byte-order mark tells UTF-16 from 8-bit text.
std::optional<QStringConverter::Encoding> utf16Encoding(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe"))
        return QStringConverter::Utf16LE;
    if (bytes.startsWith("\xfe\xff"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// Tab, line breaks, form feed and the end-of-file mark of old DOS files are all a text holds.
bool isText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\v' && u != u'\f' && u != u'\r' &&
            u != 0x1a)
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> TextDecoding::decode(QByteArrayView bytes)
{
    QString text;
    // Stateless makes a sequence cut off at the end count as an error.
    if (const auto utf16 = utf16Encoding(bytes)) {
        QStringDecoder decoder(*utf16, QStringDecoder::Flag::Stateless);
        text = decoder.decode(bytes.sliced(2));
        if (decoder.hasError() || bytes.size() % 2 != 0)
            return std::nullopt;
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = fromWindows1252(bytes);
    }
    if (!isText(text))
        return std::nullopt;
    return text;
}
