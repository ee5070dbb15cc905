#pragma once

#include "formats/DocumentFormats.h"

/// CommonMark with GitHub's tables, task lists and strike-through, through Qt's own reader and
/// writer.
class MarkdownFormat
{
public:
    static bool recognises(QByteArrayView data);
    static DocumentFormats::Read read(const QByteArray& data, const Progress& progress);
    static QByteArray write(QTextDocument& document, const Progress& progress);
    static QStringList losses(const QTextDocument& document);
};
