#pragma once

#include "formats/rtf/CodePageDecoder.h"
#include "formats/rtf/RtfFontTable.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

/// Text bytes waiting to be decoded, and the code pages they are in: a font's own, or else the
/// document's ANSI page.
class RtfTextDecoder
{
public:
    /// fonts says which code page each font's text is in.
    explicit RtfTextDecoder(const RtfFontTable& fonts) : m_fonts(fonts) {}

    void append(std::string_view bytes) { m_bytes.append(bytes); }
    bool isEmpty() const { return m_bytes.empty(); }
    /// Decodes the bytes waiting from codePage, or from the ANSI page for 0, and lets them go.
    /// The text stays valid until the next call.
    QStringView decode(int codePage)
    {
        m_decoded.resize(0);
        m_decoder.decode(codePage > 0 ? codePage : m_ansiCodePage,
                         QByteArrayView(m_bytes.data(), qsizetype(m_bytes.size())), m_decoded);
        m_bytes.clear();
        return m_decoded;
    }

    void setAnsiCodePage(int codePage)
    {
        m_ansiCodePage = codePage;
        m_codePageFont.reset();
    }
    /// The code page of text in font; 0 for the document's.
    int codePageFor(int font)
    {
        if (m_codePageFont == font)
            return m_codePage;
        return lookUpCodePage(font);
    }
    /// The fonts may now have other code pages than codePageFor() last found.
    void fontsChanged() { m_codePageFont.reset(); }

private:
    int lookUpCodePage(int font);

    const RtfFontTable& m_fonts;
    CodePageDecoder m_decoder;
    std::string m_bytes;
    QString m_decoded;
    int m_ansiCodePage = 1252;
    /// The font whose code page codePageFor() found last, while the tables stay as they are.
    std::optional<int> m_codePageFont;
    int m_codePage = 0;
};
