#pragma once

#include "formats/rtf/BuiltInCodePages.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

/// Decodes one code page to UTF-16 from tables built once: every single byte, and for
/// double-byte pages every lead and trail byte pair. Decoding never holds a byte back, so text
/// split across control words decodes the same, and undefined bytes never swallow their
/// neighbours.
class CodePageConverter
{
public:
    /// Builds the tables through glibc iconv; isValid() is false when iconv lacks iconvName.
    explicit CodePageConverter(const char* iconvName);
    /// A single-byte page from its table.
    explicit CodePageConverter(const BuiltInCodePages::Table& table);
    /// A symbol font's signs from their table, which must outlive the converter.
    explicit CodePageConverter(const BuiltInCodePages::WideTable& table) : m_wide(&table) {}

    bool isValid() const { return m_valid; }
    /// Appends the decoded bytes to out; undefined bytes and pairs become one U+FFFD each.
    void decode(QByteArrayView bytes, QString& out) const;

private:
    void decodeDoubleByte(QByteArrayView bytes, QString& out) const;
    void decodeWide(QByteArrayView bytes, QString& out) const;

    bool m_valid = true;
    bool m_utf8 = false;
    bool m_doubleByte = false;
    BuiltInCodePages::Table m_singles{};
    std::array<bool, 256> m_isLead{};
    std::array<bool, 256> m_isTrail{};
    /// Characters by lead byte * 256 + trail byte; 0 where the page defines no such pair.
    std::vector<char16_t> m_pairs;
    const BuiltInCodePages::WideTable* m_wide = nullptr;
};
