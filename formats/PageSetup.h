#pragma once

#include <QPageLayout>

class QLocale;
class QTextDocument;

/// The paper a document is printed on and its margins, in twips as RTF keeps them. It travels
/// with the document, in its root frame's format, so a document kept aside, a copy made for
/// printing and a document just read each carry their own.
struct PageSetup
{
    // RTF's own defaults, for a file that names none: Letter, 1.25 inch left and right.
    int paperWidth = 12240;
    int paperHeight = 15840;
    int marginLeft = 1800;
    int marginRight = 1800;
    int marginTop = 1440;
    int marginBottom = 1440;
    bool landscape = false;

    /// What a new document gets: Letter where the locale measures in inches, else A4; one-inch
    /// margins all round.
    static PageSetup forLocale(const QLocale& locale);
    /// The setup document carries, or forLocale() of the system's locale when it carries none.
    static PageSetup of(const QTextDocument& document);
    static bool isKeptIn(const QTextDocument& document);
    void keepIn(QTextDocument& document) const;

    /// The same page for a printer or a PDF writer.
    QPageLayout pageLayout() const;

    bool operator==(const PageSetup&) const = default;
};
