#pragma once

#include "formats/base/Progress.h"
#include "formats/rtf/RtfPage.h"

#include <QByteArray>

class QTextDocument;

/// Writes a document as a Word package (.docx): its body, styles, lists, notes, headers and
/// footers, pictures, page and properties, as parts Word and LibreOffice open without repair.
class DocxWriter
{
public:
    /// page gives every length of the paper and its margins, in twips.
    static QByteArray write(const QTextDocument& document, const RtfPage& page,
                            const Progress& progress = {});
};
