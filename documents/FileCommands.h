#pragma once

#include <QObject>

class frmVellumo;

/// Open, Save, Save As and Print of the current document.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    explicit FileCommands(frmVellumo& window);

    void mnuOpen_Click();
    /// Writes the current document to its file, or asks for one through Save As.
    void mnuSave_Click();
    void mnuSaveas_Click();
    /// Prints the selection, or the whole document without one, on the chosen printer.
    void mnuPrint_Click();

private:
    /// Writes the current document to path; on failure tells the user and returns false.
    bool writeTo(const QString& path);

    frmVellumo& m_window;
};
