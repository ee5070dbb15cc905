#pragma once

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QToolBar;
class QToolButton;
class RichTextBox;
struct MainMenu;

/// The toolbar's buttons and keeping menus and buttons in step with the selection.
///
/// Buttons are addressed by their position in the toolbar, counted from 1 with the
/// separators included; each carries its key text, on which clicks are dispatched to the
/// commands the window hands over.
class ToolbarState : public QObject
{
    Q_OBJECT

public:
    /// Positions of the buttons the program addresses.
    enum Index {
        btnNew = 1,
        btnOpen = 2,
        btnSave = 3,
        btnPrint = 5,
        btnFind = 7,
        btnCut = 9,
        btnCopy = 10,
        btnPaste = 11,
        btnUndo = 12,
        btnBold = 14,
        btnItalic = 15,
        btnUnderline = 16,
        btnStrikethru = 17,
        btnColor = 18,
        btnBullets = 20,
    };
    static constexpr int buttonCount = 20;

    using Command = std::function<void()>;
    /// A button's key with the command a click on it runs.
    using KeyCommand = std::pair<QString, Command>;

    /// Adds the buttons to bar; menu holds the entries that follow the selection.
    ToolbarState(QToolBar& bar, RichTextBox& editor, const MainMenu& menu,
                 QObject* parent = nullptr);

    /// The commands of the keys, in the order a click compares them.
    void setCommands(std::vector<KeyCommand> commands) { m_commands = std::move(commands); }

    /// The button at a 1-based position, separators included; nullptr outside 1..20.
    QAction* button(int index) const;
    /// The tool button that shows the button at index.
    QToolButton* buttonWidget(int index) const;
    /// A button's key text; empty for a separator.
    static QString key(const QAction* button);
    /// A check button's state: 1 pressed, 0 not.
    int Value(int index) const;
    /// Presses (1) or releases (0) a check button without reporting a click.
    void setValue(int index, int value);

    /// Runs the command of the clicked button, chosen by its key text.
    void tbrVellumo_ButtonClick(QAction* button);
    /// Cut, Copy and Delete follow the selection; with none, typing follows the toggles.
    void txtFile_SelChange();

private:
    void addButtons();

    QToolBar& m_bar;
    RichTextBox& m_editor;
    const MainMenu& m_menu;
    std::vector<KeyCommand> m_commands;
};
