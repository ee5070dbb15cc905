#pragma once

#include <QString>

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

private:
    QString m_text;
    QString m_errorString;
};
