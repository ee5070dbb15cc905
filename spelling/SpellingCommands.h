#pragma once

#include <QObject>
#include <QString>

class EditorMarks;
class MessageService;
class QAction;
class QMenu;
class QTimer;
class RichTextBox;
class SpellChecker;
class UndoSnapshot;

/// Spelling as the writer types: a red wavy underline under the misspelt words on the screen,
/// suggestions, "Add to Dictionary" and "Ignore All" on the right-click menu, and the Edit
/// menu's "Check Spelling" entry that turns it on and off.
///
/// The underline is drawn over the text (EditorMarks), never stored in it, and the check
/// waits until the writer pauses, then looks only at the paragraphs in view, so typing costs
/// the same with spelling on as with it off.
class SpellingCommands : public QObject
{
    Q_OBJECT

public:
    /// How long the text must rest before the words in view are checked.
    static constexpr int restMs = 250;

    /// entry is the checkable "Check Spelling" menu entry.
    SpellingCommands(RichTextBox& editor, EditorMarks& marks, SpellChecker& checker,
                     UndoSnapshot& undo, QAction& entry, MessageService& messages,
                     QObject* parent = nullptr);

    /// Whether misspelt words are underlined; never without a dictionary.
    bool isActive() const;
    /// Turns spelling on or off, as the remembered setting or the menu entry says.
    void setActive(bool on);
    /// Whether a check waits for the dictionaries to be read.
    bool isChecking() const;

    void mnuCheckSpelling_Click();
    /// The text, the view or the document shown changed: check again once it rests.
    void txtFile_Change();
    /// Underlines the misspelt words in view.
    void tmrSpelling_Timer();
    /// Puts the suggestions for a misspelt word at position above the right-click menu.
    void txtFile_ContextMenu(QMenu* menu, qint64 position);

    /// The dictionaries were read: check what is in view with them.
    void speller_Ready();
    /// Tells the writer that word could not be added to the personal dictionary.
    void speller_PersonalNotKept(const QString& word, const QString& reason);
    /// Tells the writer how little of a too large personal dictionary is used.
    void speller_PersonalTooLarge(qint64 fileSize, qint64 bytesRead, qsizetype wordsRead);

    QTimer* tmrSpelling() const { return m_timer; }

private:
    void replaceWord(qint64 start, qint64 length, const QString& replacement);
    void acceptWord(const QString& word, bool forGood);

    RichTextBox& m_editor;
    EditorMarks& m_marks;
    SpellChecker& m_checker;
    UndoSnapshot& m_undo;
    QAction& m_entry;
    MessageService& m_messages;
    QTimer* m_timer = nullptr;
};
