#include "formats/rtf/CodePageDecoder.h"

#include <QMutex>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr int s_fallbackCodePage = 1252;

// Only pages writers use are opened, so hostile input cannot keep iconv probing.
constexpr std::array s_windowsCodePages = {
    437, 737, 775, 850, 852, 855,  857,  860,  861,  862,  863,  864,  865,  866,  869,
    874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361};

constexpr std::array<std::pair<int, const char*>, 3> s_namedCodePages = {{
    {20866, "KOI8-R"},
    {21866, "KOI8-U"},
    {65001, "UTF-8"},
}};

// The Mac's double-byte pages extend the Windows pages of the same scripts.
constexpr std::array<std::pair<int, int>, 4> s_macDoubleBytePages = {{
    {10001, 932},
    {10002, 950},
    {10003, 949},
    {10008, 936},
}};

// \fcharset values and the code page each stands for.
constexpr std::array<std::pair<int, int>, 30> s_charsetCodePages = {{
    {0, 1252},   {2, BuiltInCodePages::Symbol},
    {77, 10000}, {78, 10001},
    {79, 10003}, {80, 10008},
    {81, 10002}, {83, 10005},
    {84, 10004}, {85, 10006},
    {86, 10081}, {87, 10021},
    {88, 10029}, {89, 10007},
    {128, 932},  {129, 949},
    {130, 1361}, {134, 936},
    {136, 950},  {161, 1253},
    {162, 1254}, {163, 1258},
    {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251},
    {222, 874},  {238, 1250},
    {254, 437},  {255, 850},
}};

template <typename Table>
auto lookUp(const Table& table, int key) -> decltype(table.begin()->second)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const auto& entry) { return entry.first == key; });
    return found == table.end() ? decltype(table.begin()->second){} : found->second;
}

std::string iconvNameFor(int codePage)
{
    if (const char* name = lookUp(s_namedCodePages, codePage))
        return name;
    if (std::binary_search(s_windowsCodePages.begin(), s_windowsCodePages.end(), codePage))
        return "CP" + std::to_string(codePage);
    return {};
}

// The page whose tables decode codePage, or 0 when there is none.
int decodingPage(int codePage)
{
    if (const int windowsPage = lookUp(s_macDoubleBytePages, codePage))
        return windowsPage;
    if (BuiltInCodePages::table(codePage) || BuiltInCodePages::wideTable(codePage) ||
        !iconvNameFor(codePage).empty())
        return codePage;
    return 0;
}

std::unique_ptr<CodePageConverter> makeConverter(int codePage)
{
    if (const BuiltInCodePages::Table* table = BuiltInCodePages::table(codePage))
        return std::make_unique<CodePageConverter>(*table);
    if (const BuiltInCodePages::WideTable* table = BuiltInCodePages::wideTable(codePage))
        return std::make_unique<CodePageConverter>(*table);
    return std::make_unique<CodePageConverter>(iconvNameFor(codePage).c_str());
}

} // namespace

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out)
{
    if (codePage != m_lastCodePage || !m_last) {
        m_last = &converter(codePage);
        m_lastCodePage = codePage;
    }
    m_last->decode(bytes, out);
}

int CodePageDecoder::codePageForCharset(int charset)
{
    return lookUp(s_charsetCodePages, charset);
}

const CodePageConverter& CodePageDecoder::converter(int codePage)
{
    static QMutex mutex;
    static std::map<int, std::unique_ptr<CodePageConverter>> converters;
    const QMutexLocker locker(&mutex);
    int page = decodingPage(codePage);
    for (;;) {
        if (page == 0)
            page = s_fallbackCodePage;
        auto& converter = converters[page];
        if (!converter)
            converter = makeConverter(page);
        if (converter->isValid() || page == s_fallbackCodePage)
            return *converter;
        page = 0;
    }
}
