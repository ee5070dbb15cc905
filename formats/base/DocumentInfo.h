#pragma once

#include <QString>

class QTextDocument;

/// What a file says about the document as a whole rather than its text: its title and its
/// author. Kept in the root frame's format, like PageSetup, so every copy of the document carries
/// it and every format that has a place for it writes it back.
struct DocumentInfo
{
    QString title;
    QString author;

    static DocumentInfo of(const QTextDocument& document);
    /// Keeps this in document; an empty field removes what document held.
    void keepIn(QTextDocument& document) const;

    bool operator==(const DocumentInfo&) const = default;
};
