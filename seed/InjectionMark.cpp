#include "seed/InjectionMark.h"

#include "editing/EditorMarks.h"
#include "platform/RichTextBox.h"

InjectionMark::InjectionMark(RichTextBox& editor, EditorMarks& marks, QObject* parent)
    : QObject(parent), m_editor(editor), m_marks(marks)
{
}

void InjectionMark::markRun(qint64 start, qint64 length)
{
    QTextCursor run(m_editor.document());
    run.setPosition(int(start));
    run.setPosition(int(start + length), QTextCursor::KeepAnchor);
    // The selection's own colour, faint enough to read the text and tell it from a selection.
    QColor soft = m_editor.palette().color(QPalette::Highlight);
    soft.setAlpha(56);
    QTextCharFormat background;
    background.setBackground(soft);
    m_marks.setMarks(EditorMarks::Injection, {{run, background}});
}

void InjectionMark::txtFile_KeyDown()
{
    m_marks.setMarks(EditorMarks::Injection, {});
}

void InjectionMark::txtFile_MouseDown()
{
    m_marks.setMarks(EditorMarks::Injection, {});
}
