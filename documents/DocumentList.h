#pragma once

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

private:
    frmVellumo& m_window;
};
