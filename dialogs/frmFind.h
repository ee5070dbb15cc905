#pragma once

#include "dialogs/EditorDialog.h"

#include <map>

class QCheckBox;
class QGroupBox;
class QLabel;
class MessageService;
class QLineEdit;
class QPushButton;

/// The Find dialog, which "Replace" shows with a replacement row: searches the editor one
/// match at a time, from the top first and then onward from the last match.
class frmFind : public EditorDialog
{
    Q_OBJECT

public:
    frmFind(QWidget& owner, RichTextBox& editor, MessageService& messages);

    /// Shows or hides the replacement row, with the caption that goes with it.
    void setReplaceMode(bool on);
    /// The member of the option group whose index is the search option it stands for.
    QCheckBox* chkboxes(int index) const { return m_chkboxes.at(index); }

    void txtFind_Change();
    void cmdFindnext_Click();
    void cmdReplace_Click();
    void cmdFindcancel_Click();

protected:
    void Form_Unload() override;

private:
    void Form_Load();
    void addOption(int index, const QString& caption, const QRect& at);
    int options() const;
    /// Searches from start to the end of the text; says so when there is no match.
    bool search(qint64 start);
    /// Searches from just after the selection; a miss sends the next search back to the top.
    void searchOnward();
    void closeDown();

    QLabel* m_lblFindwhat;
    QLineEdit* m_txtFind;
    QLabel* m_lblReplace;
    QLineEdit* m_txtReplace;
    QPushButton* m_cmdReplace;
    QPushButton* m_cmdFindnext;
    QPushButton* m_cmdFindcancel;
    QGroupBox* m_fraFindoptions;
    std::map<int, QCheckBox*> m_chkboxes;
    bool m_searchfromtop = true;
    MessageService& m_messages;
};
