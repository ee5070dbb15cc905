#pragma once

#include <QByteArrayView>
#include <QString>

/// A seed file read whole in one read, its characters exactly those of the file.
class SeedFile
{
public:
    /// Reads the file at path; false with errorString() when it cannot be opened or read.
    bool read(const QString& path);

    /// The text read; taking it leaves the file object empty.
    QString takeText() { return std::move(m_text); }
    QString errorString() const { return m_errorString; }

    /// UTF-8 when the bytes are valid UTF-8, otherwise one Windows-1252 character per byte.
    static QString decode(QByteArrayView bytes);

private:
    QString m_text;
    QString m_errorString;
};
