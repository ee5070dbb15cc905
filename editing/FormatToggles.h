#pragma once

class QAction;

/// The Format menu's five on/off entries. Each is also a check button of the toolbar, so its
/// check mark is the button's state: the state the apply procedures write into the editor.
struct FormatToggles
{
    QAction* mnuBold = nullptr;
    QAction* mnuItalic = nullptr;
    QAction* mnuUnderline = nullptr;
    QAction* mnuStrikethru = nullptr;
    QAction* mnuBullet = nullptr;
};
