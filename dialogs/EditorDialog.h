#pragma once

#include <QWidget>

class QPushButton;
class RichTextBox;

/// A dialog that works on the main window's editor while the main window is disabled.
///
/// It is a top-level window of its own, kept in front of its owner (the main window) as its
/// transient, so disabling the owner leaves the dialog usable. Closing it from the frame runs
/// Form_Unload and deletes it, so the next showing starts from the design values.
class EditorDialog : public QWidget
{
    Q_OBJECT

public:
    /// Shows the dialog in front of the main window without waiting for it.
    void showOverMain();

    /// Widens a captioned control where this system's font runs wider than the design's.
    static void fitCaption(QWidget* control);

protected:
    /// A fixed-size dialog frame with a close box; innerTwips is the client size in twips.
    EditorDialog(QWidget& owner, RichTextBox& editor, const QSize& innerTwips);

    /// A push button of the dialog; no button is the default, but a focused one takes Enter.
    QPushButton* addButton(const char* name, const QString& caption, const QRect& at);

    /// Hides the dialog, enables the owner and gives the editor the keyboard focus.
    void returnToEditor();

    virtual void Form_Unload() = 0;
    void closeEvent(QCloseEvent* event) override;

    QWidget& m_owner;
    RichTextBox& m_editor;

private:
    bool m_placed = false;
};
