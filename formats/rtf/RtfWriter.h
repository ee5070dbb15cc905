#pragma once

#include <QByteArray>

class QTextDocument;

/// Writes a QTextDocument as a complete RTF 1.x document.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument& document);
};
