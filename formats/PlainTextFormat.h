#pragma once

#include "formats/DocumentFormats.h"

/// Text with no formatting: written as UTF-8 with list markers; read in the encodings seed files
/// are read in.
class PlainTextFormat
{
public:
    /// Whether data, a file's first bytes, holds nothing a text file could not.
    static bool recognises(QByteArrayView data);
    static DocumentFormats::Read read(const QByteArray& data, const Progress& progress);
    static QByteArray write(QTextDocument& document, const Progress& progress);
    static QStringList losses(const QTextDocument& document);
    /// The text data holds, its lines ended by line feeds alone; nothing when data is not text.
    static std::optional<QString> text(QByteArrayView data);
    /// Why bytes that text() turns down are not read, in the same words for every text format.
    static QString notText();
};
