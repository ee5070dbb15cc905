#pragma once

#include "formats/DocumentFormats.h"
#include "platform/TextPlace.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QTextDocument;

/// One open document: its name, where it came from, the format of its file, the two states the
/// one-step undo toggles between (docRTF, the latest recorded, and undoRTF, the one before), what
/// was last opened or saved, the stamp of its file then, what its file held that the editor
/// could not keep, where the writer was in it, and its whole text while it is kept aside, which
/// carries its word counts
/// (DocumentCounts).
///
/// Content is RTF as the editor writes it, 7-bit text kept in bytes; the empty text stands for an
/// empty document. Where the editor can say so, each recorded state also knows its step in the
/// history of edits of the document shown, so Undo can walk there instead of reading the RTF; -1
/// where it is not known.
class Document
{
public:
    /// Where a document came from, which decides what counts as its saved state.
    enum class Origin {
        New,      ///< empty, and never saved
        Opened,   ///< just read from its file, so saved as it is
        Restored, ///< a recovery copy: never saved here, its content both recorded states
    };

    /// blank is the RTF of an empty document, which an empty new document counts as saved.
    Document(Origin origin, const QString& name, const QByteArray& content,
             const QByteArray& blank);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Origin origin() const { return m_origin; }
    /// "Untitled" and a number, or the full path of its file.
    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    /// Whether the name is a file's path, so Save writes there without asking.
    bool hasFile() const { return isFilePath(m_name); }
    /// The format its file is written in.
    const DocumentFormats::Format& format() const { return *m_format; }
    void setFormat(const DocumentFormats::Format& format) { m_format = &format; }

    const QByteArray& docRTF() const { return m_latest; }
    const QByteArray& undoRTF() const { return m_previous; }
    /// Where the latest recorded state stands in the history of the document shown.
    int latestStep() const { return m_latestStep; }
    void setDocRTF(const QByteArray& content, int step = -1);
    /// The latest state is at step now, the previous one at a step not known.
    void restartSteps(int step);
    /// The undo check: when content differs from the latest recorded state, that state becomes
    /// the previous one and content, at step, the latest. True when something was recorded.
    bool recordChange(const QByteArray& content, int step = -1);
    /// The undo toggle: the previous state becomes the latest and current, at step, the previous
    /// one; returns what the editor must now show.
    QByteArray undo(const QByteArray& current, int step = -1);

    /// Records content as what the document's file now holds, nothing lost.
    void markSaved(const QByteArray& content);
    /// Whether content differs from what was last opened or saved (an empty never-saved
    /// document is unmodified).
    bool isModified(const QByteArray& content) const;
    /// What its file held when it was last opened or saved here, to tell whether another
    /// program has written it since.
    const FileStamp& stamp() const { return m_stamp; }
    void setStamp(const FileStamp& stamp) { m_stamp = stamp; }
    /// What the document's file held that the editor could not keep, each named once.
    const QStringList& losses() const { return m_losses; }
    void setLosses(const QStringList& losses) { m_losses = losses; }
    /// Whether the writer has agreed to lose all of losses by saving in format.
    bool acceptsLosses(const DocumentFormats::Format& format, const QStringList& losses) const;
    void acceptLosses(const DocumentFormats::Format& format, const QStringList& losses);

    /// Where the writer was in it when another document was shown.
    const TextPlace& place() const { return m_place; }
    void setPlace(const TextPlace& place) { m_place = place; }

    /// Its whole text while it is kept aside, with its history of edits; nullptr otherwise.
    QTextDocument* kept() const { return m_kept.get(); }
    /// Keeps text aside as this document's; it belongs to the document until taken back.
    void keep(QTextDocument* text);
    /// Hands the kept text over, or nullptr when none is kept.
    QTextDocument* takeKept();

    /// A name counts as a file's path when it is absolute; "Untitled" names never are.
    static bool isFilePath(const QString& name);

private:
    Origin m_origin;
    QString m_name;
    const DocumentFormats::Format* m_format = &DocumentFormats::rtf();
    const DocumentFormats::Format* m_lossyFormat = nullptr;
    QStringList m_acceptedLosses;
    QByteArray m_latest;
    QByteArray m_previous;
    int m_latestStep = 0;
    int m_previousStep = 0;
    QByteArray m_saved;
    QByteArray m_blank;
    FileStamp m_stamp;
    QStringList m_losses;
    std::unique_ptr<QTextDocument> m_kept;
    TextPlace m_place;
};
