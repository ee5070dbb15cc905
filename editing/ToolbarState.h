#pragma once

#include <QObject>

class frmVellumo;

/// The toolbar's buttons and keeping menus and buttons in step with the selection.
class ToolbarState : public QObject
{
    Q_OBJECT

public:
    explicit ToolbarState(frmVellumo& window);

private:
    frmVellumo& m_window;
};
