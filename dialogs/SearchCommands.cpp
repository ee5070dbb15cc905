#include "dialogs/SearchCommands.h"

#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"

SearchCommands::SearchCommands(QWidget& owner, RichTextBox& editor, MessageService& messages,
                               QObject* parent)
    : QObject(parent), m_owner(owner), m_editor(editor), m_messages(messages)
{
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
        m_goto = new frmGoto(m_owner, m_editor, m_messages);
    return m_goto;
}

frmFind* SearchCommands::loadFind()
{
    if (!m_find)
        m_find = new frmFind(m_owner, m_editor, m_messages);
    return m_find;
}

void SearchCommands::mnuGoto_Click()
{
    m_owner.setEnabled(false);
    loadGoto()->showOverMain();
}

// Every way of closing the dialog puts it back into find mode, so there is no mode to set.
void SearchCommands::mnuFind_Click()
{
    loadFind()->showOverMain();
    m_owner.setEnabled(false);
}

void SearchCommands::mnuReplace_Click()
{
    frmFind* dialog = loadFind();
    dialog->setReplaceMode(true);
    dialog->showOverMain();
    m_owner.setEnabled(false);
}
