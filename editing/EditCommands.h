#pragma once

#include <QObject>

class frmVellumo;

/// Cut, Copy, Paste, Delete and Select All on the editor's selection.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    explicit EditCommands(frmVellumo& window);

private:
    frmVellumo& m_window;
};
