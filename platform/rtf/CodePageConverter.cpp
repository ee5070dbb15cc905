#include "platform/rtf/CodePageConverter.h"

#include <algorithm>
#include <cerrno>

namespace {

const iconv_t s_invalidHandle = reinterpret_cast<iconv_t>(-1);
const size_t s_iconvError = static_cast<size_t>(-1);

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
const char* const s_utf16 = "UTF-16LE";
#else
const char* const s_utf16 = "UTF-16BE";
#endif

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

CodePageConverter::CodePageConverter(const char* iconvName)
    : m_handle(iconv_open(s_utf16, iconvName))
{
    buildTable();
}

CodePageConverter::~CodePageConverter()
{
    if (isValid())
        iconv_close(m_handle);
}

bool CodePageConverter::isValid() const
{
    return m_handle != s_invalidHandle;
}

void CodePageConverter::buildTable()
{
    for (int byte = 0x80; byte <= 0xff; ++byte) {
        m_upperHalf[byte - 0x80] = static_cast<char16_t>(byte);
        if (!isValid())
            continue;
        char input = static_cast<char>(byte);
        char16_t output = 0;
        char* in = &input;
        char* out = reinterpret_cast<char*>(&output);
        size_t inLeft = 1;
        size_t outLeft = sizeof(output);
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        const size_t result = iconv(m_handle, &in, &inLeft, &out, &outLeft);
        // A byte that only begins a sequence marks a multi-byte page, which needs iconv per run.
        if (result == s_iconvError && errno == EINVAL) {
            m_singleByte = false;
            return;
        }
        if (result != s_iconvError && outLeft == 0)
            m_upperHalf[byte - 0x80] = output;
    }
}

void CodePageConverter::decode(QByteArrayView bytes, QString& out)
{
    if (!m_singleByte && !isAscii(bytes)) {
        decodeMultiByte(bytes, out);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* target = reinterpret_cast<char16_t*>(out.data()) + start;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *target++ = value < 0x80 ? value : m_upperHalf[value - 0x80];
    }
}

void CodePageConverter::decodeMultiByte(QByteArrayView bytes, QString& out)
{
    // No supported page yields more UTF-16 units than it consumed bytes, replacements included.
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* target = reinterpret_cast<char*>(out.data() + start);
    size_t targetLeft = static_cast<size_t>(bytes.size()) * sizeof(char16_t);
    iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0 && iconv(m_handle, &in, &inLeft, &target, &targetLeft) == s_iconvError) {
        if (errno == E2BIG || targetLeft < sizeof(char16_t))
            break;
        const char16_t replacement = QChar::ReplacementCharacter;
        std::copy_n(reinterpret_cast<const char*>(&replacement), sizeof(char16_t), target);
        target += sizeof(char16_t);
        targetLeft -= sizeof(char16_t);
        ++in;
        --inLeft;
    }
    iconv(m_handle, nullptr, nullptr, &target, &targetLeft);
    out.resize((target - reinterpret_cast<char*>(out.data())) / qsizetype(sizeof(char16_t)));
}
