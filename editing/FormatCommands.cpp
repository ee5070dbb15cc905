#include "editing/FormatCommands.h"

#include "app/frmVellumo.h"
#include "editing/ToolbarState.h"
#include "editing/UndoSnapshot.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"

namespace {

// Screen and printer fonts: the dialog then offers name, style and size only.
constexpr int cdlCFBoth = 3;

} // namespace

FormatCommands::FormatCommands(frmVellumo& window) : QObject(&window), m_window(window)
{
    const MainMenu& m = m_window.menu();
    MainMenu::onClick(m.mnuBold, this, [this] { mnuBold_Click(); });
    MainMenu::onClick(m.mnuItalic, this, [this] { mnuItalic_Click(); });
    MainMenu::onClick(m.mnuUnderline, this, [this] { mnuUnderline_Click(); });
    MainMenu::onClick(m.mnuStrikethru, this, [this] { mnuStrikethru_Click(); });
    MainMenu::onClick(m.mnuBullet, this, [this] { mnuBullet_Click(); });
    MainMenu::onClick(m.mnuColor, this, [this] { mnuColor_Click(); });
    MainMenu::onClick(m.mnuFont, this, [this] { mnuFont_Click(); });
}

void FormatCommands::flipFromMenu(QAction* entry, int button)
{
    entry->setChecked(!entry->isChecked());
    m_window.toolbar()->setValue(button, entry->isChecked() ? 1 : 0);
}

void FormatCommands::apply(int button, EditorWrite write)
{
    (m_window.txtFile()->*write)(m_window.toolbar()->Value(button) != 0);
    m_window.undo()->changeundo();
}

void FormatCommands::mnuBold_Click()
{
    flipFromMenu(m_window.menu().mnuBold, ToolbarState::btnBold);
    changebold();
}

void FormatCommands::mnuItalic_Click()
{
    flipFromMenu(m_window.menu().mnuItalic, ToolbarState::btnItalic);
    changeitalic();
}

void FormatCommands::mnuUnderline_Click()
{
    flipFromMenu(m_window.menu().mnuUnderline, ToolbarState::btnUnderline);
    changeunderline();
}

void FormatCommands::mnuStrikethru_Click()
{
    flipFromMenu(m_window.menu().mnuStrikethru, ToolbarState::btnStrikethru);
    changestrikethru();
}

void FormatCommands::mnuBullet_Click()
{
    flipFromMenu(m_window.menu().mnuBullet, ToolbarState::btnBullets);
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
    CommonDialog& dialog = *m_window.services().dialog;
    // Cancel is asked for as an error so that a cancelled dialog can leave the text alone.
    dialog.CancelError = true;
    if (dialog.ShowColor() == CommonDialog::cdlCancel)
        return;
    RichTextBox* txt = m_window.txtFile();
    txt->setSelColor(dialog.Color);
    txt->SetFocus();
    m_window.undo()->changeundo();
}

// The toggles stay as they were: the next caret move puts their state back into the typing format.
void FormatCommands::mnuFont_Click()
{
    CommonDialog& dialog = *m_window.services().dialog;
    dialog.Flags = cdlCFBoth;
    dialog.CancelError = true;
    if (dialog.ShowFont() == CommonDialog::cdlCancel)
        return;
    RichTextBox* txt = m_window.txtFile();
    txt->setSelFontName(dialog.FontName);
    txt->setSelFontSize(dialog.FontSize);
    txt->setSelBold(dialog.FontBold);
    txt->setSelItalic(dialog.FontItalic);
    txt->setSelStrikeThru(dialog.FontStrikethru);
    txt->setSelUnderline(dialog.FontUnderline);
    m_window.undo()->changeundo();
}
