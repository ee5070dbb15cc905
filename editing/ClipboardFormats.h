#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QMimeData;
class QTextDocumentFragment;

/// How a selection travels through the clipboard, within Quillmere and to and from other
/// programs.
///
/// Copy has always put the selection's RTF markup on the clipboard as plain text, so that
/// formatting travels from one place in the program to another; it offers the same selection
/// as RTF and HTML besides, which other word processors, mail programs and browsers paste
/// formatted. Paste prefers what Quillmere wrote, then what other programs offer formatted.
class ClipboardFormats
{
public:
    /// The clipboard content for Copy: the markup as plain text and as RTF, and selection,
    /// written with defaultFont where it names none, as HTML. Empty plain text alone when
    /// nothing is selected.
    static QMimeData* forCopy(const QString& rtf, const QTextDocumentFragment& selection,
                              const QFont& defaultFont);
    /// What Paste takes from the clipboard.
    struct Paste
    {
        /// For the editor's SelRTF: the plain text when it is RTF markup, else the RTF on offer,
        /// else the HTML on offer turned into RTF, else the plain text; empty without a
        /// clipboard.
        QString text;
        /// What the HTML held that turning it into RTF left out, in short phrases, each once.
        QStringList losses;
    };

    static Paste forPaste(const QMimeData* clipboard, const QFont& defaultFont);
};
