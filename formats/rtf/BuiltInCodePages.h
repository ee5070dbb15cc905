#pragma once

#include <array>

/// The single-byte pages the reader carries itself: the Mac pages, which glibc lacks or maps
/// as older Macs did, and the Symbol font's characters.
class BuiltInCodePages
{
public:
    /// Characters by byte value; U+FFFD marks a byte the page leaves undefined.
    using Table = std::array<char16_t, 256>;

    /// Code page of text in the Symbol font, as Windows numbers it.
    static constexpr int Symbol = 42;

    /// The table of codePage, or null when iconv decodes it.
    static const Table* table(int codePage);
};
