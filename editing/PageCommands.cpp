#include "editing/PageCommands.h"

#include "editing/UndoSnapshot.h"
#include "formats/PageSetup.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"

#include <QAction>

PageCommands::PageCommands(RichTextBox& editor, UndoSnapshot& undo, const SpacingMarks& marks,
                           CommonDialog& dialog, QObject* parent)
    : QObject(parent), m_editor(editor), m_undo(undo), m_marks(marks), m_dialog(dialog)
{
    txtFile_SelChange();
}

void PageCommands::mnuPageSetup_Click()
{
    QTextDocument& document = *m_editor.document();
    const PageSetup offered = PageSetup::of(document);
    m_dialog.Page = offered;
    m_dialog.CancelError = true;
    if (m_dialog.ShowPageSetup() == CommonDialog::cdlCancel || m_dialog.Page == offered)
        return;
    m_dialog.Page.keepIn(document);
    m_undo.changeundo();
}

void PageCommands::mnuPageBreak_Click()
{
    m_editor.insertPageBreak();
    m_undo.changeundo();
}

void PageCommands::mnuSingleSpacing_Click()
{
    space(100);
}

void PageCommands::mnuOneAndHalfSpacing_Click()
{
    space(150);
}

void PageCommands::mnuDoubleSpacing_Click()
{
    space(200);
}

void PageCommands::space(int percent)
{
    m_editor.setSelLineSpacing(percent);
    m_undo.changeundo();
    txtFile_SelChange();
}

void PageCommands::txtFile_SelChange()
{
    const int percent = m_editor.SelLineSpacing();
    m_marks.mnuSingleSpacing->setChecked(percent == 100);
    m_marks.mnuOneAndHalfSpacing->setChecked(percent == 150);
    m_marks.mnuDoubleSpacing->setChecked(percent == 200);
}
