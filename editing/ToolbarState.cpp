#include "editing/ToolbarState.h"

#include "platform/RichTextBox.h"

#include <QAction>

ToolbarState::ToolbarState(RichTextBox& editor, const SelectionEntries& entries,
                           const FormatToggles& toggles, QObject* parent)
    : QObject(parent), m_editor(editor), m_entries(entries), m_toggles(toggles)
{
}

void ToolbarState::txtFile_SelChange()
{
    const bool selected = !m_editor.SelText().isEmpty();
    m_entries.mnuCut->setEnabled(selected);
    m_entries.mnuCopy->setEnabled(selected);
    m_entries.mnuDelete->setEnabled(selected);
    if (selected)
        return;
    m_editor.setSelBold(m_toggles.mnuBold->isChecked());
    m_editor.setSelItalic(m_toggles.mnuItalic->isChecked());
    m_editor.setSelUnderline(m_toggles.mnuUnderline->isChecked());
    m_editor.setSelStrikeThru(m_toggles.mnuStrikethru->isChecked());
}
