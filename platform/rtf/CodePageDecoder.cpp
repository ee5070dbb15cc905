#include "platform/rtf/CodePageDecoder.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace {

constexpr int s_fallbackCodePage = 1252;

// Only pages Windows writers use are opened, so hostile input cannot keep iconv probing.
constexpr std::array s_windowsCodePages = {
    437, 737, 775, 850, 852, 855,  857,  860,  861,  862,  863,  864,  865,  866,  869,
    874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361};

constexpr std::array<std::pair<int, const char*>, 4> s_namedCodePages = {{
    {10000, "MACINTOSH"},
    {20866, "KOI8-R"},
    {21866, "KOI8-U"},
    {65001, "UTF-8"},
}};

// \fcharset values and the Windows code page each stands for.
constexpr std::array<std::pair<int, int>, 17> s_charsetCodePages = {{
    {77, 10000},
    {128, 932},
    {129, 949},
    {130, 1361},
    {134, 936},
    {136, 950},
    {161, 1253},
    {162, 1254},
    {163, 1258},
    {177, 1255},
    {178, 1256},
    {186, 1257},
    {204, 1251},
    {222, 874},
    {238, 1250},
    {254, 437},
    {255, 850},
}};

std::string iconvNameFor(int codePage)
{
    const auto named = std::find_if(s_namedCodePages.begin(), s_namedCodePages.end(),
                                    [&](const auto& entry) { return entry.first == codePage; });
    if (named != s_namedCodePages.end())
        return named->second;
    if (std::binary_search(s_windowsCodePages.begin(), s_windowsCodePages.end(), codePage))
        return "CP" + std::to_string(codePage);
    return {};
}

} // namespace

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out)
{
    converterFor(codePage).decode(bytes, out);
}

int CodePageDecoder::codePageForCharset(int charset)
{
    const auto found = std::find_if(s_charsetCodePages.begin(), s_charsetCodePages.end(),
                                    [&](const auto& entry) { return entry.first == charset; });
    return found == s_charsetCodePages.end() ? 0 : found->second;
}

CodePageConverter& CodePageDecoder::converterFor(int codePage)
{
    if (codePage != m_lastCodePage || !m_last) {
        m_last = &open(iconvNameFor(codePage).empty() ? s_fallbackCodePage : codePage);
        m_lastCodePage = codePage;
    }
    return *m_last;
}

CodePageConverter& CodePageDecoder::open(int codePage)
{
    auto& converter = m_converters[codePage];
    if (!converter)
        converter = std::make_unique<CodePageConverter>(iconvNameFor(codePage).c_str());
    if (!converter->isValid() && codePage != s_fallbackCodePage)
        return open(s_fallbackCodePage);
    return *converter;
}
