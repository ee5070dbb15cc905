#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The open documents: for each one its name, the latest recorded state (docRTF), the state
/// before it (undoRTF) and the state last opened or saved, with the current index.
///
/// Names are "Untitled" and a number, or a file's full path. Content is RTF as the editor
/// writes it, 7-bit text kept in bytes; the empty text stands for an empty document. Where the
/// editor can say so, each of the two recorded states also knows its step in the history of
/// edits of the document shown, so Undo can walk there instead of reading the RTF; -1 where
/// it is not known.
class DocumentStore
{
public:
    /// Where a document came from, which decides what counts as its saved state.
    enum class Origin {
        New,      ///< empty, and never saved
        Opened,   ///< just read from its file, so saved as it is
        Restored, ///< a recovery copy: never saved here, its content both recorded states
    };

    /// The state at start-up: one new document, "Untitled1", current.
    void reset(const QByteArray& blankContent);

    int count() const { return int(m_docs.size()); }
    int curDoc() const { return m_curDoc; }
    void setCurDoc(int index) { m_curDoc = index; }
    int untitledCount() const { return m_untitledCount; }

    /// Counts one more untitled document and returns its name: Untitled2, Untitled3...
    QString nextUntitledName();

    /// Adds a document at the end and returns its index; the current document stays current.
    int add(Origin origin, const QString& name, const QByteArray& content = {});
    /// Puts another document in the place of document index.
    void replace(int index, Origin origin, const QString& name, const QByteArray& content = {});
    const QString& name(int index) const { return m_docs.at(index).name; }
    void rename(int index, const QString& name) { m_docs[index].name = name; }
    /// The first document of that name, or -1.
    int indexOf(const QString& name) const;

    /// What the document's file held that the editor could not keep, each named once.
    const QStringList& losses(int index) const { return m_docs.at(index).losses; }
    void setLosses(int index, const QStringList& losses) { m_docs[index].losses = losses; }

    const QByteArray& docRTF(int index) const { return m_docs.at(index).latest; }
    void setDocRTF(int index, const QByteArray& content, int step = -1);
    const QByteArray& undoRTF(int index) const { return m_docs.at(index).previous; }
    /// Where the latest recorded state of the current document stands in its history.
    int latestStep() const { return m_docs.at(m_curDoc).latestStep; }
    /// The latest state of document index is at step, the previous one at a step not known.
    void restartSteps(int index, int step);

    /// Records content as what the document's file now holds.
    void markSaved(int index, const QByteArray& content) { m_docs[index].saved = content; }
    /// Whether content differs from what was last opened or saved (an empty never-saved
    /// document is unmodified).
    bool isModified(int index, const QByteArray& content) const;

    /// The undo check: when content differs from the latest recorded state, that state becomes
    /// the previous one and content, at step, the latest. True when something was recorded.
    bool recordChange(const QByteArray& content, int step = -1);
    /// The undo toggle: the previous state becomes the latest and current, at step, the
    /// previous one; returns what the editor must now show.
    QByteArray undo(const QByteArray& current, int step = -1);

    /// A name counts as a file's path when it is absolute; "Untitled" names never are.
    static bool isFilePath(const QString& name);

private:
    struct Slot
    {
        QString name;
        QByteArray latest;
        QByteArray previous;
        QByteArray saved;
        QStringList losses;
        int latestStep = 0;
        int previousStep = 0;
    };

    QList<Slot> m_docs;
    QByteArray m_blank;
    int m_curDoc = 0;
    int m_untitledCount = 1;
};
