#pragma once

#include "spelling/SpellChecker.h"

#include <QObject>
#include <QString>

#include <functional>

class EditorMarks;
class MessageService;
class QAction;
class QMenu;
class QTimer;
class RichTextBox;
class UndoSnapshot;

/// Spelling as the writer types: a red wavy underline under the misspelt words on the screen,
/// suggestions, "Add to Dictionary" and "Ignore All" on the right-click menu, the Edit
/// menu's "Check Spelling" entry that turns it on and off, and its "Spelling Language" entries.
///
/// The underline is drawn over the text (EditorMarks), never stored in it, and the check
/// waits until the writer pauses, then looks only at the words in view, a few milliseconds at
/// a time, so the window answers while it runs, however long the paragraph.
class SpellingCommands : public QObject
{
    Q_OBJECT

public:
    /// How long the text must rest before the words in view are checked.
    static constexpr int restMs = 250;
    /// How long one slice of a check may hold the window before it lets other events in.
    static constexpr int sliceMs = 5;

    /// entry is the checkable "Check Spelling" menu entry, languages the entries of the
    /// installed dictionaries, each with its dictionary's name as data; clock reads
    /// milliseconds.
    SpellingCommands(RichTextBox& editor, EditorMarks& marks, SpellChecker& checker,
                     UndoSnapshot& undo, QAction& entry, const QList<QAction*>& languages,
                     MessageService& messages, std::function<qint64()> clock,
                     QObject* parent = nullptr);

    /// Whether misspelt words are underlined; never without a dictionary.
    bool isActive() const;
    /// Turns spelling on or off, as the remembered setting or the menu entry says.
    void setActive(bool on);
    /// Whether a check waits for the dictionaries or has words in view left to look at.
    bool isChecking() const;

    void mnuCheckSpelling_Click();
    /// Checks with dictionary from now on, as the remembered setting says.
    void setDictionary(const SpellDictionary& dictionary);
    /// setDictionary(), and languageChosen() for the setting.
    void mnuSpellingLanguage_Click(const SpellDictionary& dictionary);
    /// The text, the view or the document shown changed: check again once it rests.
    void txtFile_Change();
    /// Starts checking the words in view.
    void tmrSpelling_Timer();
    /// Checks the next words of the check under way, for a slice of time.
    void tmrChecking_Timer();
    /// Puts the suggestions for a misspelt word at position above the right-click menu.
    void txtFile_ContextMenu(QMenu* menu, qint64 position);

    /// The dictionaries were read: check what is in view with them.
    void speller_Ready();
    /// Tells the writer that word could not be added to the personal dictionary.
    void speller_PersonalNotKept(const QString& word, const QString& reason);
    /// Tells the writer how little of a too large personal dictionary is used.
    void speller_PersonalTooLarge(qint64 fileSize, qint64 bytesRead, qsizetype wordsRead);

    QTimer* tmrSpelling() const { return m_timer; }
    QTimer* tmrChecking() const { return m_slices; }

signals:
    /// The writer chose the dictionary called name.
    void languageChosen(const QString& name);
    /// Spelling now checks with the dictionary of language name, chosen or remembered.
    void dictionarySet(const QString& name);

private:
    /// Words of the document with the text around them: where that text starts, and how far
    /// a check of them has gone.
    struct Pass : SpellChecker::Around
    {
        qsizetype next = 0;
        QList<SpellChecker::Word> wrong;
    };

    /// The entries say which dictionary is used, and why spelling is off without one.
    void showDictionary();
    void showMarks();
    void acceptWord(const QString& word, bool forGood);

    RichTextBox& m_editor;
    EditorMarks& m_marks;
    SpellChecker& m_checker;
    UndoSnapshot& m_undo;
    QAction& m_entry;
    QList<QAction*> m_languages;
    MessageService& m_messages;
    std::function<qint64()> m_clock;
    QTimer* m_timer = nullptr;
    /// Brings the next slice of a check once the events waiting are handled.
    QTimer* m_slices = nullptr;
    Pass m_pass;
};
