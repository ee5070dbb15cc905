#pragma once

#include <QObject>

class EditorMarks;
class RichTextBox;

/// Shows the run of seed words an injection has just written on a soft background, so the
/// writer sees what was added and where, until the next key press or click in the editor.
/// Drawn over the text (EditorMarks), never stored in it.
class InjectionMark : public QObject
{
    Q_OBJECT

public:
    InjectionMark(RichTextBox& editor, EditorMarks& marks, QObject* parent = nullptr);

    /// Marks the length characters from start, in place of the run marked before.
    void markRun(qint64 start, qint64 length);
    void txtFile_KeyDown();
    void txtFile_MouseDown();

private:
    RichTextBox& m_editor;
    EditorMarks& m_marks;
};
