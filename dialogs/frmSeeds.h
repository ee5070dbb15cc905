#pragma once

#include "seed/SeedLibrary.h"

#include <QDialog>

class CommonDialog;
class QCheckBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

/// Manage Seeds: the seed files kept to be mixed, with their words, weights and ticks, and
/// whether runs avoid starting where recent runs started. A file that is gone or cannot be
/// read stays in the list, saying so.
class frmSeeds : public QDialog
{
    Q_OBJECT

public:
    enum Column { ActiveColumn, FileColumn, WordsColumn, WeightColumn, ColumnCount };

    frmSeeds(QWidget* owner, CommonDialog& dialog);

    /// Shows library's seeds and options, to be edited.
    void setLibrary(const SeedLibrary& library);
    /// The library as the dialog shows it now.
    SeedLibrary library() const;

    /// Adds a file, unless the list has it already.
    void addFile(const QString& path);
    /// Adds the folder's text files, in name order.
    void addFolder(const QString& path);

    void cmdAddFile_Click();
    void cmdAddFolder_Click();
    void cmdRemove_Click();

private:
    void addRow(const SeedLibrary::Seed& seed);
    QSpinBox* weightAt(int row) const;

    CommonDialog& m_dialog;
    SeedLibrary m_library;
    QTableWidget* m_lstSeeds;
    QCheckBox* m_chkNoRepeats;
    QSpinBox* m_spnMemory;
    QPushButton* m_cmdAddFile;
    QPushButton* m_cmdAddFolder;
    QPushButton* m_cmdRemove;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdCancel;
};
