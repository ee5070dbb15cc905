#pragma once

#include "documents/DocumentStore.h"

#include <QObject>

class QComboBox;
class QTextDocument;
class RichTextBox;

/// The open documents: their stored content, their names in the list, and switching between
/// them. The only code that writes the list, so entry i is always the store's document i.
class DocumentList : public QObject
{
    Q_OBJECT

public:
    DocumentList(RichTextBox& editor, QComboBox& list, QObject* parent = nullptr);

    /// The start-up state: one empty document, "Untitled1", current.
    void startup();

    /// The document switch to the list's selected entry.
    void cmbFiles_Click();
    void mnuNew_Click();

    /// Adds a document to the store and the list; the current document stays current.
    int add(DocumentStore::Origin origin, const QString& name, const QByteArray& content = {});
    /// Puts another document in the place of document index, in the editor too when current.
    void replace(int index, DocumentStore::Origin origin, const QString& name,
                 const QByteArray& content);
    /// Adds a document read from the file at path, with what it could not keep, and makes it
    /// current.
    void addOpened(const QString& path, const QStringList& losses, QTextDocument* document);
    /// addOpened() in the place of the current document, which is given up.
    void replaceCurrentWithOpened(const QString& path, const QStringList& losses,
                                  QTextDocument* document);
    void rename(int index, const QString& name);
    /// Lets go of the document kept aside, as reading another is about to take room.
    void dropKept();

    /// Selects an entry as a command does, which runs the document switch.
    void selectEntry(int index);
    /// Whether document index holds changes that were never saved.
    bool isModified(int index) const;
    /// Whether the start-up document is still the only one, untitled, empty and unmodified.
    bool isUnusedStartup() const;

    DocumentStore& store() { return m_store; }
    const DocumentStore& store() const { return m_store; }

    /// The window caption for a document: its name followed by the program's name and version.
    static QString captionFor(const QString& name);

signals:
    /// The current document or its name changed; caption is the window's new caption.
    void captionChanged(const QString& caption);

private:
    /// Shows document to, kept aside or read from its stored content, and keeps the editor's
    /// document aside as document from, history and all.
    void switchDocuments(int from, int to);

    RichTextBox& m_editor;
    QComboBox& m_list;
    DocumentStore m_store;
    /// Entry i holds document i, kept aside while another is shown; at most one is kept.
    QList<QTextDocument*> m_documents;
};
