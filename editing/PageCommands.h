#pragma once

#include <QObject>

class CommonDialog;
class QAction;
class RichTextBox;
class UndoSnapshot;

/// The Format menu's Line Spacing entries, whose marks show the caret's paragraph's spacing.
struct SpacingMarks
{
    QAction* mnuSingleSpacing = nullptr;
    QAction* mnuOneAndHalfSpacing = nullptr;
    QAction* mnuDoubleSpacing = nullptr;
};

/// How the document lies on its pages: page setup, page breaks and line spacing.
class PageCommands : public QObject
{
    Q_OBJECT

public:
    PageCommands(RichTextBox& editor, UndoSnapshot& undo, const SpacingMarks& marks,
                 CommonDialog& dialog, QObject* parent = nullptr);

    /// Offers the document's page in the page setup dialog and gives the document the answer.
    void mnuPageSetup_Click();
    void mnuPageBreak_Click();
    void mnuSingleSpacing_Click();
    void mnuOneAndHalfSpacing_Click();
    void mnuDoubleSpacing_Click();
    /// Marks the entry of the caret's paragraph's spacing, if it is one of theirs.
    void txtFile_SelChange();

private:
    void space(int percent);

    RichTextBox& m_editor;
    UndoSnapshot& m_undo;
    SpacingMarks m_marks;
    CommonDialog& m_dialog;
};
