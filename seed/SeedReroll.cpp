#include "seed/SeedReroll.h"

#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"
#include "seed/SeedPrompter.h"

#include <QAction>

SeedReroll::SeedReroll(RichTextBox& editor, SeedPrompter& prompter, UndoSnapshot& undo,
                       QAction& mnuReroll, QObject* parent)
    : QObject(parent), m_editor(editor), m_prompter(prompter), m_undo(undo), m_mnuReroll(mnuReroll)
{
    m_mnuReroll.setEnabled(false);
}

bool SeedReroll::canReroll() const
{
    return m_document == m_editor.document() && m_revision == m_editor.contentRevision() &&
           m_length > 0;
}

void SeedReroll::seed_Injected(qint64 start, qint64 length)
{
    m_document = m_editor.document();
    m_revision = m_editor.contentRevision();
    m_start = start;
    m_length = length;
    m_mnuReroll.setEnabled(canReroll());
}

void SeedReroll::txtFile_Change()
{
    m_mnuReroll.setEnabled(canReroll());
}

// The page with the old run is recorded first, so Undo brings that run back, not the page
// before it.
void SeedReroll::mnuReroll_Click()
{
    if (!canReroll())
        return;
    m_undo.changeundo();
    m_editor.setSelStart(m_start);
    m_editor.setSelLength(m_length);
    m_prompter.mnuInject_Click();
    m_undo.changeundo();
    m_mnuReroll.setEnabled(canReroll());
}
