#pragma once

class QToolBar;
struct MainMenu;

/// The toolbar as designed: fifteen of the menu's own entries, shown by their pictures, with
/// separators between the groups. A button is its entry, so a click on it is a click on the
/// entry, and a toggle's check mark and pressed button are one state.
class MainToolbar
{
public:
    /// Adds the entries of menu to bar and gives each its picture.
    static void build(QToolBar& bar, const MainMenu& menu);
};
