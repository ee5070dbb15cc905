#pragma once

#include "formats/base/Progress.h"

#include <QByteArray>

class QTextDocument;

/// Writes a document as a Word package (.docx): its body, styles, lists, notes, headers and
/// footers, pictures, page and properties, as parts Word and LibreOffice open without repair.
class DocxWriter
{
public:
    static QByteArray write(const QTextDocument& document, const Progress& progress = {});
};
