#pragma once

#include <QObject>

class frmVellumo;

/// The formatting toggles, colour and font.
class FormatCommands : public QObject
{
    Q_OBJECT

public:
    explicit FormatCommands(frmVellumo& window);

private:
    frmVellumo& m_window;
};
