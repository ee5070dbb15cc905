#include "editing/FormatCommands.h"

#include "editing/UndoSnapshot.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"

#include <QAction>

namespace {

// Screen and printer fonts: the dialog then offers name, style and size only.
constexpr int cdlCFBoth = 3;

} // namespace

FormatCommands::FormatCommands(RichTextBox& editor, UndoSnapshot& undo,
                               const FormatToggles& toggles, CommonDialog& dialog, QObject* parent)
    : QObject(parent), m_editor(editor), m_undo(undo), m_toggles(toggles), m_dialog(dialog)
{
}

void FormatCommands::apply(const QAction* toggle, EditorWrite write)
{
    (m_editor.*write)(toggle->isChecked());
    m_undo.changeundo();
}

void FormatCommands::mnuBold_Click()
{
    m_toggles.mnuBold->toggle();
    changebold();
}

void FormatCommands::mnuItalic_Click()
{
    m_toggles.mnuItalic->toggle();
    changeitalic();
}

void FormatCommands::mnuUnderline_Click()
{
    m_toggles.mnuUnderline->toggle();
    changeunderline();
}

void FormatCommands::mnuStrikethru_Click()
{
    m_toggles.mnuStrikethru->toggle();
    changestrikethru();
}

void FormatCommands::mnuBullet_Click()
{
    m_toggles.mnuBullet->toggle();
    changebullet();
}

void FormatCommands::changebold()
{
    apply(m_toggles.mnuBold, &RichTextBox::setSelBold);
}

void FormatCommands::changeitalic()
{
    apply(m_toggles.mnuItalic, &RichTextBox::setSelItalic);
}

void FormatCommands::changeunderline()
{
    apply(m_toggles.mnuUnderline, &RichTextBox::setSelUnderline);
}

void FormatCommands::changestrikethru()
{
    apply(m_toggles.mnuStrikethru, &RichTextBox::setSelStrikeThru);
}

void FormatCommands::changebullet()
{
    apply(m_toggles.mnuBullet, &RichTextBox::setSelBullet);
}

void FormatCommands::mnuColor_Click()
{
    changecolor();
}

void FormatCommands::changecolor()
{
    // Cancel is asked for as an error so that a cancelled dialog can leave the text alone.
    m_dialog.CancelError = true;
    if (m_dialog.ShowColor() == CommonDialog::cdlCancel)
        return;
    m_editor.setSelColor(m_dialog.Color);
    m_editor.SetFocus();
    m_undo.changeundo();
}

// The toggles stay as they were: the next caret move puts their state back into the typing format.
void FormatCommands::mnuFont_Click()
{
    m_dialog.Flags = cdlCFBoth;
    m_dialog.CancelError = true;
    if (m_dialog.ShowFont() == CommonDialog::cdlCancel)
        return;
    m_editor.setSelFontName(m_dialog.FontName);
    m_editor.setSelFontSize(m_dialog.FontSize);
    m_editor.setSelBold(m_dialog.FontBold);
    m_editor.setSelItalic(m_dialog.FontItalic);
    m_editor.setSelStrikeThru(m_dialog.FontStrikethru);
    m_editor.setSelUnderline(m_dialog.FontUnderline);
    m_undo.changeundo();
}
