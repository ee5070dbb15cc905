#pragma once

#include "platform/rtf/CodePageConverter.h"

#include <memory>
#include <unordered_map>

/// Decodes the bytes of the code pages RTF names, opening each page's converter once.
class CodePageDecoder
{
public:
    /// Appends bytes decoded from codePage; pages iconv lacks, or RTF never uses, read as 1252.
    void decode(int codePage, QByteArrayView bytes, QString& out);

    /// The code page a font's \fcharset implies, or 0 when the font follows the document's page.
    static int codePageForCharset(int charset);

private:
    CodePageConverter& converterFor(int codePage);
    CodePageConverter& open(int codePage);

    std::unordered_map<int, std::unique_ptr<CodePageConverter>> m_converters;
    int m_lastCodePage = -1;
    CodePageConverter* m_last = nullptr;
};
