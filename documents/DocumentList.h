#pragma once

#include "documents/DocumentStore.h"

#include <QObject>

#include <memory>

class QComboBox;
class QTextDocument;
class RichTextBox;

/// The open documents as the writer sees them: the store, its entries in the list, and the
/// one document switch that shows a document in the editor. The only code that changes the
/// list, so entry i is always the store's document i; it tells what changed through signals.
class DocumentList : public QObject
{
    Q_OBJECT

public:
    DocumentList(RichTextBox& editor, QComboBox& list, QObject* parent = nullptr);

    /// The start-up state: one empty document, "Untitled1", current.
    void startup();

    /// The document switch to the list's selected entry: the way every document is shown.
    void cmbFiles_Click();
    void mnuNew_Click();
    /// Shows the document after or before the current one in the list, going round at its ends.
    void mnuNextDocument_Click();
    void mnuPreviousDocument_Click();

    /// Adds document at the end of the list; text, when given, is its whole text read already,
    /// shown when the document is. The current document stays current.
    int add(std::unique_ptr<Document> document, QTextDocument* text = nullptr);
    /// Puts document in the place of document index, which is closed; shown at once when the
    /// one it replaces was current.
    void replace(int index, std::unique_ptr<Document> document, QTextDocument* text = nullptr);
    /// Selects an entry as a command does, which runs the document switch.
    void selectEntry(int index);
    /// Puts the writer at place in document index: at once when it is shown, else when it next
    /// is.
    void setPlace(int index, const TextPlace& place);
    /// Where the writer is in document index: in the editor for the current one.
    TextPlace placeOf(int index) const;
    /// A name for a new untitled document, never used before in this run.
    QString nextUntitledName() { return m_store.nextUntitledName(); }
    /// Stores the editor's content as the current document's latest state.
    void storeCurrent();
    /// Document index was written to path in format, which now holds what stamp says: it is
    /// named after its file now, and saved.
    void markSaved(int index, const QString& path, const DocumentFormats::Format& format,
                   const FileStamp& stamp);
    /// Lets go of the text kept aside, as reading another is about to take room.
    void dropKept();

    const DocumentStore& store() const { return m_store; }
    Document& current() { return m_store.current(); }
    /// Document index's content now: the editor's for the current one, else its latest state.
    QByteArray contentOf(int index) const;
    /// Whether document index holds changes that were never saved.
    bool isModified(int index) const;
    /// Whether the start-up document is still the only one, untitled, empty and unmodified.
    bool isUnusedStartup() const;

    /// The window caption for a document: its name followed by the program's name and version.
    static QString captionFor(const QString& name);

signals:
    /// A document joined the list, at the end or in the place of one closed.
    void added(Document* document);
    /// The editor shows another document, or the same one again.
    void currentChanged(Document* document);
    /// A document has a new name.
    void renamed(Document* document);
    /// A document was written to its file.
    void saved(Document* document);
    /// A document leaves the list; it is deleted once receivers have returned.
    void closed(Document* document);

private:
    /// Shows document to, kept aside or read from its latest state; the editor's text is kept
    /// aside for the document left, unless that one was closed.
    void show(int to);
    /// Renames an untitled document whose name another holds, but for the one at replacing.
    void giveFreeName(Document& document, int replacing);

    RichTextBox& m_editor;
    QComboBox& m_list;
    DocumentStore m_store;
};
