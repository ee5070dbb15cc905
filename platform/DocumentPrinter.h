#pragma once

class QPrinter;
class QTextDocument;

/// Prints a document as a word processor does: on its own paper and margins, with its headers
/// and footers, or the page number at the foot of each page when it has no footer, and its
/// footnotes at the foot of the page that holds their marks. Lengths the editor keeps in screen
/// pixels (indents, paragraph spacing, tab stops, pictures) come out at their real size, and only
/// the pages the printer was asked for.
class DocumentPrinter
{
public:
    /// Prints a copy of document on printer, which takes the document's page layout; false when
    /// the printer could not start, e.g. a file it cannot write.
    static bool print(const QTextDocument& document, QPrinter* printer);
};
