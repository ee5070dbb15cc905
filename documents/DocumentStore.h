#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The open documents' stored content: for each one the latest recorded state (docRTF), the
/// state before it (undoRTF) and the state last opened or saved, with the current index.
///
/// Slots are indexed like the entries of the document list and hold RTF as the editor writes
/// it, 7-bit text kept in bytes. A slot holding the empty text stands for an empty document.
class DocumentStore
{
public:
    /// The state at start-up: one empty document, current, numbered 1.
    void reset(const QByteArray& blankContent);

    int count() const { return int(m_docs.size()); }
    int curDoc() const { return m_curDoc; }
    void setCurDoc(int index) { m_curDoc = index; }
    int untitledCount() const { return m_untitledCount; }

    /// Counts one more untitled document and returns its name: Untitled2, Untitled3...
    QString nextUntitledName();

    const QByteArray& docRTF(int index) const { return m_docs.at(index).latest; }
    void setDocRTF(int index, const QByteArray& content) { m_docs[index].latest = content; }
    const QByteArray& undoRTF(int index) const { return m_docs.at(index).previous; }
    void setUndoRTF(int index, const QByteArray& content) { m_docs[index].previous = content; }

    /// Gives every document up to count a slot; new slots are empty and count as never saved.
    void resize(int count);

    /// Records content as what the document's file now holds.
    void markSaved(int index, const QByteArray& content) { m_docs[index].saved = content; }
    /// Whether content differs from what was last opened or saved (an empty never-saved
    /// document is unmodified).
    bool isModified(int index, const QByteArray& content) const;

    /// The undo check: when content differs from the latest recorded state, that state becomes
    /// the previous one and content the latest. True when something was recorded.
    bool recordChange(const QByteArray& content);
    /// The undo toggle: the previous state becomes the latest and current the previous one;
    /// returns what the editor must now show.
    QByteArray undo(const QByteArray& current);

    /// A name counts as a file's path when it is absolute; "Untitled" names never are.
    static bool isFilePath(const QString& name);

private:
    struct Slot
    {
        QByteArray latest;
        QByteArray previous;
        QByteArray saved;
    };

    QList<Slot> m_docs;
    QByteArray m_blank;
    int m_curDoc = 0;
    int m_untitledCount = 1;
};
