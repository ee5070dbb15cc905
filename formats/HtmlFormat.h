#pragma once

#include "formats/DocumentFormats.h"

/// Web pages and the HTML other programs put on the clipboard, through Qt's own reader and
/// writer, with the reader kept from the nesting that would stall it.
class HtmlFormat
{
public:
    static bool recognises(QByteArrayView data);
    static DocumentFormats::Read read(const QByteArray& data, const Progress& progress);
    static QByteArray write(QTextDocument& document, const Progress& progress);
    static QStringList losses(const QTextDocument& document);
    /// Fills document with markup, whatever page or program it comes from.
    static void fill(QTextDocument& document, QStringView markup);
};
