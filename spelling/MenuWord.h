#pragma once

#include <QList>
#include <QString>
#include <QTextCursor>

class QAction;
class QMenu;
class RichTextBox;
class UndoSnapshot;

/// A word the right-click menu offers something for. Held by a cursor, it follows the edits made
/// while the menu is open (a seed run landing before it, another instance's words), and nothing
/// is done to it once the word itself has changed or gone.
class MenuWord
{
public:
    /// The whole word at position in the editor's document, or ending just before it; null when
    /// there is none.
    static MenuWord at(const RichTextBox& editor, int position);

    bool isNull() const { return m_cursor.isNull(); }
    const QString& text() const { return m_text; }
    /// Whether the word still reads as it did, as a whole word, in the document shown.
    bool isStillThere(const RichTextBox& editor) const;
    /// Disables entries of menu once the word has changed, as the text changes.
    void withdrawWhenChanged(const RichTextBox& editor, QMenu* menu,
                             const QList<QAction*>& entries) const;
    /// Puts replacement in its place as an edit of the writer's own, so Undo takes it back;
    /// nothing when the word is no longer there.
    void replace(RichTextBox& editor, UndoSnapshot& undo, const QString& replacement) const;

private:
    QTextCursor m_cursor;
    QString m_text;
};
