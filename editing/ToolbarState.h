#pragma once

#include <QObject>

class QAction;
class QToolButton;
class frmVellumo;

/// The toolbar's buttons and keeping menus and buttons in step with the selection.
///
/// Buttons are addressed by their position in the toolbar, counted from 1 with the
/// separators included; each carries its key text, on which clicks are dispatched.
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

    explicit ToolbarState(frmVellumo& window);

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

    frmVellumo& m_window;
};
