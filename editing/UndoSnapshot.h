#pragma once

#include <QObject>

class frmVellumo;

/// The one-step undo: each document's last two recorded states.
class UndoSnapshot : public QObject
{
    Q_OBJECT

public:
    explicit UndoSnapshot(frmVellumo& window);

    /// Records a snapshot when the editor's content differs from the latest recorded state.
    void changeundo();
    void mnuUndo_Click();

private:
    frmVellumo& m_window;
};
