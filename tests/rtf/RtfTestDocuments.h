#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QTextDocument;

/// Documents for the codec tests: the editor's default font and a compact, readable summary.
class RtfTestDocuments
{
public:
    /// The bytes of the file at path; stops the test program when it cannot be read.
    static QByteArray contents(const QString& path);
    /// An empty document with the editor's default font.
    static std::unique_ptr<QTextDocument> create();
    /// A new document holding rtf as the reader reads it; fails the test if it is not RTF.
    static std::unique_ptr<QTextDocument> read(const QByteArray& rtf);
    /// A new document built from JSON paragraphs as the quillmere-rtf tool builds them.
    static std::unique_ptr<QTextDocument> fromJson(const QByteArray& json);
    /// Reads rtf, whose summary must be expected; written and read again it must still be, and
    /// written again it must give the same bytes.
    static void checkReadAndKept(const QByteArray& rtf, const QString& expected,
                                 const std::function<QString(const QTextDocument&)>& summary);
    /// Paragraphs on lines, "* " before bullets; a run with formatting other than the default
    /// (the document's font, RTF's 12 pt) shows as {attributes:text}, attributes among b, i, u,
    /// s, #colour, font and size.
    static QString summary(const QTextDocument& document);
};
