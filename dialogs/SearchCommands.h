#pragma once

#include <QObject>

class frmVellumo;

/// Go To Line and Find and Replace: the dialogs and the menu entries that show them.
class SearchCommands : public QObject
{
    Q_OBJECT

public:
    explicit SearchCommands(frmVellumo& window);

private:
    frmVellumo& m_window;
};
