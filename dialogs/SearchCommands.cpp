#include "dialogs/SearchCommands.h"

#include "app/MainMenu.h"
#include "app/frmVellumo.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"

SearchCommands::SearchCommands(frmVellumo& window) : QObject(&window), m_window(window)
{
    const MainMenu& menu = window.menu();
    MainMenu::onClick(menu.mnuGoto, this, [this] { mnuGoto_Click(); });
    MainMenu::onClick(menu.mnuFind, this, [this] { mnuFind_Click(); });
    MainMenu::onClick(menu.mnuReplace, this, [this] { mnuReplace_Click(); });
}

// The dialogs are top-level windows of their own, not children of the main window.
SearchCommands::~SearchCommands()
{
    delete m_goto;
    delete m_find;
}

frmGoto* SearchCommands::gotoDialog() const
{
    return m_goto;
}

frmFind* SearchCommands::findDialog() const
{
    return m_find;
}

frmGoto* SearchCommands::loadGoto()
{
    if (!m_goto)
        m_goto = new frmGoto(m_window);
    return m_goto;
}

frmFind* SearchCommands::loadFind()
{
    if (!m_find)
        m_find = new frmFind(m_window);
    return m_find;
}

void SearchCommands::mnuGoto_Click()
{
    m_window.setEnabled(false);
    loadGoto()->showOverMain();
}

// Every way of closing the dialog puts it back into find mode, so there is no mode to set.
void SearchCommands::mnuFind_Click()
{
    loadFind()->showOverMain();
    m_window.setEnabled(false);
}

void SearchCommands::mnuReplace_Click()
{
    frmFind* dialog = loadFind();
    dialog->setReplaceMode(true);
    dialog->showOverMain();
    m_window.setEnabled(false);
}
