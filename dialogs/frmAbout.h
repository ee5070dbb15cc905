#pragma once

#include <QDialog>

/// The About box: name, version and description. OK, Enter, Escape and the close box unload it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdOK_Click();
};
