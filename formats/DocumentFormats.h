#pragma once

#include "formats/FileStamp.h"
#include "formats/base/Progress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QTextDocument;

/// How a file becomes a document and a document a file. Each format reads bytes into a new
/// document and writes a document as bytes; one place here chooses the format of a file, by
/// its content, then by its name.
class DocumentFormats
{
public:
    struct Format;

    /// What reading gave: a document not shown anywhere yet, or why there is none.
    struct Read
    {
        std::unique_ptr<QTextDocument> document;
        /// The format the bytes were read as.
        const Format* format = nullptr;
        /// What the bytes held that the document cannot keep, in short phrases, each once.
        QStringList losses;
        /// Why there is no document, as the system or the reader says it.
        QString error;
        /// What the file held as it was read.
        FileStamp stamp;
    };

    /// One file format: its name, the extensions of its files, and how it is recognised, read
    /// and written.
    struct Format
    {
        /// A short name, as the converter and messages use it ("RTF", "ODT").
        QString name;
        /// What the Open and Save As dialogs call its files.
        QString description;
        /// The first is the one Save As adds to a name typed without one.
        QStringList extensions;
        /// Whether data, the first bytes of a file, may start a file of this format.
        bool (*recognises)(QByteArrayView data);
        /// Whether a file's start alone tells its format, so the start wins over the name.
        bool knownByStart;
        Read (*read)(const QByteArray& data, const Progress& progress);
        /// The document's bytes in this format, each paragraph whole; a format may keep them
        /// with the document, so writing an unchanged document again costs nothing.
        QByteArray (*write)(QTextDocument& document, const Progress& progress);
        /// What writing document in this format would leave out, in short phrases, each once;
        /// null for a format that keeps everything a document holds.
        QStringList (*losses)(const QTextDocument& document) = nullptr;
    };

    /// Rich Text Format, the program's own: the editor's text and what Save writes.
    static const Format& rtf();
    /// OpenDocument Text, LibreOffice's own format.
    static const Format& odt();
    /// Word's own format (.docx).
    static const Format& docx();
    static const Format& markdown();
    static const Format& html();
    static const Format& plainText();
    /// Every format the program reads and writes, RTF first.
    static const QList<const Format*>& all();
    /// The format named name, as all() names them, ignoring case; null when there is none.
    static const Format* named(QStringView name);
    /// The format whose files carry extension, ignoring case; null when there is none.
    static const Format* forExtension(QStringView extension);
    /// The format whose files start as data does, else the one named by the extension of
    /// fileName, else plain text when data is text, else RTF, which reading then turns down
    /// with its reason.
    static const Format& forFile(QByteArrayView data, const QString& fileName);

    /// Whether text, as the clipboard or a caller gives it, is RTF: a brace and \rtf, white
    /// space and a byte-order mark allowed around the brace.
    static bool isRtf(QStringView text);

    /// Reads the file at path in the format its content or name says. Only a regular file no
    /// larger than largestFile() is read, and only once its first bytes are of a format;
    /// progress hears the bytes loaded, then the format's reading, and may cancel both.
    static Read readFile(const QString& path, const Progress& progress = {});
    /// The largest file this computer has the memory to hold as a document.
    static qint64 largestFile();
    /// Replaces the file at path with document in format, all at once, and returns what the
    /// file holds now; nothing, with the reason in errorString, when it could not.
    static std::optional<FileStamp> writeFile(const QString& path, QTextDocument& document,
                                              const Format& format, QString* errorString,
                                              const Progress& progress = {});
};
