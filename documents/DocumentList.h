#pragma once

#include "documents/DocumentStore.h"

#include <QObject>

class frmVellumo;

/// The open documents: their names in the list, their stored content, and switching between them.
class DocumentList : public QObject
{
    Q_OBJECT

public:
    explicit DocumentList(frmVellumo& window);

    /// The start-up state: one empty document, "Untitled1", current.
    void startup();
    /// Asks about unsaved documents before the program ends; false when the user cancels.
    bool confirmClose();

    /// The document switch to the list's selected entry.
    void cmbFiles_Click();
    void mnuNew_Click();

    /// Selects an entry as a command does, which runs the document switch.
    void selectEntry(int index);
    /// Sets the window caption for the named document.
    void setCaption(const QString& name);
    /// Whether document index holds changes that were never saved.
    bool isModified(int index) const;

    DocumentStore& store() { return m_store; }
    const DocumentStore& store() const { return m_store; }

private:
    /// Switches back to document index with its caret, after an interrupted exit.
    void returnTo(int index, qint64 selStart, qint64 selLength);

    frmVellumo& m_window;
    DocumentStore m_store;
};
