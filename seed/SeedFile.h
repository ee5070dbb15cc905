#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

/// A seed file read whole in one read, its characters exactly those of the file.
class SeedFile
{
public:
    /// Reads the file at path; false with errorString() when it cannot be opened or read, or
    /// when it is not text.
    bool read(const QString& path);

    /// The text read; taking it leaves the file object empty.
    QString takeText() { return std::move(m_text); }
    QString errorString() const { return m_errorString; }

    /// UTF-16 after a UTF-16 byte-order mark; UTF-8, without its byte-order mark, when the
    /// bytes are valid UTF-8; otherwise one Windows-1252 character per byte. Nothing when the
    /// result holds control characters no text file has (a NUL above all).
    static std::optional<QString> decode(QByteArrayView bytes);

private:
    QString m_text;
    QString m_errorString;
};
