#pragma once

#include <QString>

#include <array>

/// The single-byte pages the reader carries itself: the Mac pages, which glibc lacks or maps
/// as older Macs did, and the characters of the symbol fonts Symbol, Webdings and Wingdings.
class BuiltInCodePages
{
public:
    /// Characters by byte value; U+FFFD marks a byte the page leaves undefined.
    using Table = std::array<char16_t, 256>;
    /// A symbol font's signs by byte value, many beyond UTF-16's single units.
    using WideTable = std::array<char32_t, 256>;

    /// Code page of text in the Symbol font, as Windows numbers it.
    static constexpr int Symbol = 42;

    /// The table of codePage, or null when iconv decodes it.
    static const Table* table(int codePage);
    /// The table of a page of wide signs (Webdings' and Wingdings'), or null.
    static const WideTable* wideTable(int codePage);
    /// The page of a symbol font whose bytes stand for signs of its own, or 0 for other fonts.
    static int forFont(const QString& family);
};
