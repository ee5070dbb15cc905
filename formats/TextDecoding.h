#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

/// How bytes that claim to be text become characters, for seed files and plain-text documents
/// alike.
class TextDecoding
{
public:
    /// UTF-16 after a UTF-16 byte-order mark; UTF-8, without its byte-order mark, when the
    /// bytes are valid UTF-8; otherwise one Windows-1252 character per byte. Nothing when the
    /// result holds control characters no text file has (a NUL above all).
    static std::optional<QString> decode(QByteArrayView bytes);
};
