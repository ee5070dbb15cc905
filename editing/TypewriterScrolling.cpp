#include "editing/TypewriterScrolling.h"

#include "platform/RichTextBox.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QScrollBar>

TypewriterScrolling::TypewriterScrolling(RichTextBox& editor, QAction& mnuTypewriter,
                                         QObject* parent)
    : QObject(parent), m_editor(editor), m_mnuTypewriter(mnuTypewriter)
{
    m_editor.viewport()->installEventFilter(this);
}

bool TypewriterScrolling::isOn() const
{
    return m_mnuTypewriter.isChecked();
}

void TypewriterScrolling::setOn(bool on)
{
    m_mnuTypewriter.setChecked(on);
    m_editor.setOverscroll(on ? m_editor.viewport()->height() / 2 : 0);
    if (on)
        centreCaret();
}

void TypewriterScrolling::mnuTypewriter_Click()
{
    setOn(!isOn());
}

void TypewriterScrolling::txtFile_SelChange()
{
    // A click or a drag puts the caret where the writer points; pulling the text away from
    // under the pointer would move what they are selecting.
    if (isOn() && QGuiApplication::mouseButtons() == Qt::NoButton)
        centreCaret();
}

bool TypewriterScrolling::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && isOn())
        setOn(true);
    return QObject::eventFilter(watched, event);
}

void TypewriterScrolling::centreCaret()
{
    QScrollBar* bar = m_editor.verticalScrollBar();
    const int caretMiddle = m_editor.cursorRect().center().y();
    bar->setValue(bar->value() + caretMiddle - m_editor.viewport()->height() / 2);
}
