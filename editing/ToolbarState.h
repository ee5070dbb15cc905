#pragma once

#include "editing/FormatToggles.h"

#include <QObject>

class QAction;
class RichTextBox;

/// Keeps the menus and buttons in step with the selection: Cut, Copy and Delete are there only
/// while something is selected, and with nothing selected the text typed next follows the four
/// character toggles. The toolbar holds the menu's own entries, so they follow too.
class ToolbarState : public QObject
{
    Q_OBJECT

public:
    /// The entries that act on the selection.
    struct SelectionEntries
    {
        QAction* mnuCut = nullptr;
        QAction* mnuCopy = nullptr;
        QAction* mnuDelete = nullptr;
    };

    ToolbarState(RichTextBox& editor, const SelectionEntries& entries, const FormatToggles& toggles,
                 QObject* parent = nullptr);

    void txtFile_SelChange();

private:
    RichTextBox& m_editor;
    SelectionEntries m_entries;
    FormatToggles m_toggles;
};
