#pragma once

#include "documents/Document.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

/// The open documents in the order of the list, with the index of the current one (curDoc) and
/// the number of the newest "Untitled" name. It owns the documents; what each keeps of its own
/// content (docRTF, undoRTF) is read here by index as well.
class DocumentStore
{
public:
    /// The state at start-up: one new document, "Untitled1", current; blank is the RTF of an
    /// empty document.
    void reset(const QByteArray& blankContent);

    int count() const { return int(m_docs.size()); }
    int curDoc() const { return m_curDoc; }
    /// -1 while no document is current, between a current document given up and the next shown.
    void setCurDoc(int index) { m_curDoc = index; }
    int untitledCount() const { return m_untitledCount; }

    /// Counts one more untitled document and returns its name: Untitled2, Untitled3...
    QString nextUntitledName();

    /// A document of this store's kind, not in the store yet.
    std::unique_ptr<Document> create(Document::Origin origin, const QString& name,
                                     const QByteArray& content = {}) const;
    /// Adds a document at the end and returns its index; the current document stays current.
    int add(std::unique_ptr<Document> document);
    /// Puts another document in the place of document index and returns the one it replaces.
    std::unique_ptr<Document> replace(int index, std::unique_ptr<Document> document);

    Document& at(int index) { return *m_docs.at(size_t(index)); }
    const Document& at(int index) const { return *m_docs.at(size_t(index)); }
    Document& current() { return at(m_curDoc); }
    const Document& current() const { return at(m_curDoc); }
    /// The index of document, or -1.
    int indexOf(const Document* document) const;
    /// The first document of that name, or -1.
    int indexOf(const QString& name) const;

    const QByteArray& docRTF(int index) const { return at(index).docRTF(); }
    const QByteArray& undoRTF(int index) const { return at(index).undoRTF(); }

private:
    /// Restored documents keep their numbers, so new ones must count on from the highest.
    void countName(const QString& name);

    std::vector<std::unique_ptr<Document>> m_docs;
    QByteArray m_blank;
    int m_curDoc = 0;
    int m_untitledCount = 1;
};
