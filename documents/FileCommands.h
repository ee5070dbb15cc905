#pragma once

#include <QObject>

class frmVellumo;

/// Open, Save, Save As and Print of the current document.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    explicit FileCommands(frmVellumo& window);

private:
    frmVellumo& m_window;
};
