#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/// Reads RTF into a QTextDocument, replacing its content.
class RtfReader
{
public:
    /// False (with errorString()) when data is not RTF at all; malformed RTF is read as far as it
    /// makes sense and returns true.
    bool read(const QByteArray& data, QTextDocument* document);
    QString errorString() const;

private:
    QString m_errorString;
};
