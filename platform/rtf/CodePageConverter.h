#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <iconv.h>

/// Decodes one code page to UTF-16 through glibc iconv; single-byte pages use a table built once.
class CodePageConverter
{
public:
    /// Opens iconvName; when iconv cannot, bytes decode as Latin-1 and isValid() is false.
    explicit CodePageConverter(const char* iconvName);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    bool isValid() const;
    /// Appends the decoded bytes to out; undecodable sequences become U+FFFD.
    void decode(QByteArrayView bytes, QString& out);

private:
    void buildTable();
    void decodeMultiByte(QByteArrayView bytes, QString& out);

    iconv_t m_handle;
    bool m_singleByte = true;
    std::array<char16_t, 128> m_upperHalf{};
};
