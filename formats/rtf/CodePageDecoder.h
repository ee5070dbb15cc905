#pragma once

#include "formats/rtf/CodePageConverter.h"

/// Decodes the bytes of the code pages RTF names. Each page's tables are built once per process
/// and shared.
class CodePageDecoder
{
public:
    /// Appends bytes decoded from codePage; pages neither iconv nor the reader has, or RTF never
    /// uses, read as 1252.
    void decode(int codePage, QByteArrayView bytes, QString& out);

    /// The code page a font's \fcharset implies, or 0 when the font follows the document's page.
    static int codePageForCharset(int charset);

private:
    static const CodePageConverter& converter(int codePage);

    int m_lastCodePage = -1;
    const CodePageConverter* m_last = nullptr;
};
