#include "platform/rtf/CodePageDecoder.h"

#include <string>

namespace {

constexpr int s_fallbackCodePage = 1252;

// Only pages Windows writers emit are opened, so hostile input cannot make us probe iconv
// endlessly.
std::string iconvNameFor(int codePage)
{
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    case 437:
    case 737:
    case 775:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
    case 1361:
        return "CP" + std::to_string(codePage);
    default:
        return {};
    }
}

} // namespace

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out)
{
    converterFor(codePage).decode(bytes, out);
}

int CodePageDecoder::codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
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
