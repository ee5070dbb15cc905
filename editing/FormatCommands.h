#pragma once

#include "editing/FormatToggles.h"

#include <QObject>

class CommonDialog;
class RichTextBox;
class UndoSnapshot;

/// The formatting toggles, colour and font.
class FormatCommands : public QObject
{
    Q_OBJECT

public:
    FormatCommands(RichTextBox& editor, UndoSnapshot& undo, const FormatToggles& toggles,
                   CommonDialog& dialog, QObject* parent = nullptr);

    /// Each flips its entry's check mark, and with it the toolbar button, then applies it.
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

    /// Writes the toggle's state into the editor, then records the change.
    void apply(const QAction* toggle, EditorWrite write);

    RichTextBox& m_editor;
    UndoSnapshot& m_undo;
    FormatToggles m_toggles;
    CommonDialog& m_dialog;
};
