#include "spelling/MenuWord.h"

#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"
#include "spelling/SpellChecker.h"

#include <QAction>
#include <QMenu>

namespace {

// The click may land just after the word's last letter. No word there has no length.
SpellChecker::Word wordAt(const QTextDocument& document, int position)
{
    const SpellChecker::Around around = SpellChecker::wordsAround(document, position, position);
    if (around.words.isEmpty())
        return {};
    const SpellChecker::Word word = around.words.constFirst();
    return {around.start + word.start, word.length};
}

} // namespace

MenuWord MenuWord::at(const RichTextBox& editor, int position)
{
    MenuWord found;
    const SpellChecker::Word word = wordAt(*editor.document(), position);
    if (word.length == 0)
        return found;
    found.m_cursor = QTextCursor(editor.document());
    found.m_cursor.setPosition(int(word.start));
    found.m_cursor.setPosition(int(word.start + word.length), QTextCursor::KeepAnchor);
    // Text typed or written just after the word is no part of it.
    found.m_cursor.setKeepPositionOnInsert(true);
    found.m_text = found.m_cursor.selectedText();
    return found;
}

bool MenuWord::isStillThere(const RichTextBox& editor) const
{
    const int start = m_cursor.selectionStart();
    return !isNull() && m_cursor.document() == editor.document() &&
           m_cursor.selectedText() == m_text &&
           wordAt(*editor.document(), start) ==
               SpellChecker::Word{start, m_cursor.selectionEnd() - start};
}

void MenuWord::withdrawWhenChanged(const RichTextBox& editor, QMenu* menu,
                                   const QList<QAction*>& entries) const
{
    QObject::connect(&editor, &QTextEdit::textChanged, menu, [this_ = *this, &editor, entries] {
        if (!this_.isStillThere(editor))
            for (QAction* entry : entries)
                entry->setEnabled(false);
    });
}

void MenuWord::replace(RichTextBox& editor, UndoSnapshot& undo, const QString& replacement) const
{
    if (!isStillThere(editor))
        return;
    editor.setSelStart(m_cursor.selectionStart());
    editor.setSelLength(m_cursor.selectionEnd() - m_cursor.selectionStart());
    editor.setSelText(replacement);
    undo.changeundo();
}
