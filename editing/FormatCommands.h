#pragma once

#include <QObject>

class CommonDialog;
class QAction;
class RichTextBox;
class ToolbarState;
class UndoSnapshot;
struct MainMenu;

/// The formatting toggles, colour and font.
///
/// Each toggle is a Format menu check mark kept in step with a check button of the
/// toolbar; the button's state is what the apply procedures write into the editor.
class FormatCommands : public QObject
{
    Q_OBJECT

public:
    FormatCommands(RichTextBox& editor, UndoSnapshot& undo, ToolbarState& toolbar,
                   const MainMenu& menu, CommonDialog& dialog, QObject* parent = nullptr);

    void mnuBold_Click();
    void mnuItalic_Click();
    void mnuUnderline_Click();
    void mnuStrikethru_Click();
    void mnuBullet_Click();
    void mnuColor_Click();
    void mnuFont_Click();

    void changebold();
    void changeitalic();
    void changeunderline();
    void changestrikethru();
    void changebullet();
    /// Applies a colour chosen in the colour dialog; a cancelled dialog changes nothing.
    void changecolor();

private:
    using EditorWrite = void (RichTextBox::*)(bool);

    /// Flips the menu's check mark and presses or releases the button to match it.
    void flipFromMenu(QAction* entry, int button);
    /// Writes the button's state into the editor, then records the change.
    void apply(int button, EditorWrite write);

    RichTextBox& m_editor;
    UndoSnapshot& m_undo;
    ToolbarState& m_toolbar;
    const MainMenu& m_menu;
    CommonDialog& m_dialog;
};
