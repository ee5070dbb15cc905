#pragma once

class QPrinter;
class QTextDocument;

/// Prints a document as the editor shows it: lengths the editor keeps in screen pixels
/// (indents, paragraph spacing, tab stops, pictures) come out at their real size, and only
/// the pages the printer was asked for.
class DocumentPrinter
{
public:
    /// Lays out a copy of document on the printer's pages, with 2 cm margins and the page
    /// number at the foot of each page.
    static void print(const QTextDocument& document, QPrinter* printer);
};
