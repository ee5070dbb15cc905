#pragma once

#include <QObject>

class QAction;
class RichTextBox;

/// Typewriter scrolling: the caret's line stays at the middle of the view as the writer types
/// or moves with the keys, and the end of the text can scroll up to the middle.
class TypewriterScrolling : public QObject
{
    Q_OBJECT

public:
    /// mnuTypewriter is View > Typewriter Scrolling, whose check mark says whether it is on.
    TypewriterScrolling(RichTextBox& editor, QAction& mnuTypewriter, QObject* parent = nullptr);

    bool isOn() const;
    void setOn(bool on);
    void mnuTypewriter_Click();

    /// The caret moved: its line goes back to the middle, unless the mouse put it there.
    void txtFile_SelChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreCaret();

    RichTextBox& m_editor;
    QAction& m_mnuTypewriter;
};
