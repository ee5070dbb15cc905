#pragma once

#include <QObject>

class frmVellumo;

/// The seed text, its sources, the injection of seed words and the prompt timer.
class SeedPrompter : public QObject
{
    Q_OBJECT

public:
    explicit SeedPrompter(frmVellumo& window);

private:
    frmVellumo& m_window;
};
