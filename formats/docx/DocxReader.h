#pragma once

#include "formats/DocumentFormats.h"

/// Reads a Word document (.docx, Office Open XML) into a new document: its body with styles
/// resolved, lists, tables, pictures, links, notes, headers and footers, page and properties.
/// Tells apart the files that look like Word's but are not read: password-protected ones and
/// Word 97-2003 documents.
class DocxReader
{
public:
    /// Whether data starts as a Word package does, or as the compound file that protected and
    /// older Word documents are.
    static bool recognises(QByteArrayView data);
    static DocumentFormats::Read read(const QByteArray& data, const Progress& progress);
};
