#include "editing/FormatCommands.h"

#include "app/MainMenu.h"
#include "editing/ToolbarState.h"
#include "editing/UndoSnapshot.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"

namespace {

// Screen and printer fonts: the dialog then offers name, style and size only.
constexpr int cdlCFBoth = 3;

} // namespace

FormatCommands::FormatCommands(RichTextBox& editor, UndoSnapshot& undo, ToolbarState& toolbar,
                               const MainMenu& menu, CommonDialog& dialog, QObject* parent)
    : QObject(parent), m_editor(editor), m_undo(undo), m_toolbar(toolbar), m_menu(menu),
      m_dialog(dialog)
{
}

void FormatCommands::flipFromMenu(QAction* entry, int button)
{
    MainMenu::flip(entry);
    m_toolbar.setValue(button, entry->isChecked() ? 1 : 0);
}

void FormatCommands::apply(int button, EditorWrite write)
{
    (m_editor.*write)(m_toolbar.Value(button) != 0);
    m_undo.changeundo();
}

void FormatCommands::mnuBold_Click()
{
    flipFromMenu(m_menu.mnuBold, ToolbarState::btnBold);
    changebold();
}

void FormatCommands::mnuItalic_Click()
{
    flipFromMenu(m_menu.mnuItalic, ToolbarState::btnItalic);
    changeitalic();
}

void FormatCommands::mnuUnderline_Click()
{
    flipFromMenu(m_menu.mnuUnderline, ToolbarState::btnUnderline);
    changeunderline();
}

void FormatCommands::mnuStrikethru_Click()
{
    flipFromMenu(m_menu.mnuStrikethru, ToolbarState::btnStrikethru);
    changestrikethru();
}

void FormatCommands::mnuBullet_Click()
{
    flipFromMenu(m_menu.mnuBullet, ToolbarState::btnBullets);
    changebullet();
}

void FormatCommands::changebold()
{
    apply(ToolbarState::btnBold, &RichTextBox::setSelBold);
}

void FormatCommands::changeitalic()
{
    apply(ToolbarState::btnItalic, &RichTextBox::setSelItalic);
}

void FormatCommands::changeunderline()
{
    apply(ToolbarState::btnUnderline, &RichTextBox::setSelUnderline);
}

void FormatCommands::changestrikethru()
{
    apply(ToolbarState::btnStrikethru, &RichTextBox::setSelStrikeThru);
}

void FormatCommands::changebullet()
{
    apply(ToolbarState::btnBullets, &RichTextBox::setSelBullet);
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
