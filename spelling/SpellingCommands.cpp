#include "spelling/SpellingCommands.h"

#include "editing/EditorMarks.h"
#include "editing/UndoSnapshot.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "spelling/SpellChecker.h"

#include <QAction>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QTextBlock>
#include <QTimer>

namespace {

QString megabytes(qint64 bytes)
{
    return QLocale().toString(double(bytes) / (1024 * 1024), 'f', 1);
}

} // namespace

SpellingCommands::SpellingCommands(RichTextBox& editor, EditorMarks& marks, SpellChecker& checker,
                                   UndoSnapshot& undo, QAction& entry, MessageService& messages,
                                   QObject* parent)
    : QObject(parent), m_editor(editor), m_marks(marks), m_checker(checker), m_undo(undo),
      m_entry(entry), m_messages(messages)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrSpelling"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
    if (!m_checker.isAvailable()) {
        m_entry.setEnabled(false);
        m_entry.setToolTip(tr("Spelling needs a Hunspell dictionary (.aff and .dic files, such as "
                              "those of the hunspell-en-us package) in %1, and there is none.")
                               .arg(QDir::toNativeSeparators(m_checker.dictionary().folder)));
    }
    setActive(true);
}

bool SpellingCommands::isActive() const
{
    return m_entry.isChecked();
}

void SpellingCommands::setActive(bool on)
{
    m_entry.setChecked(on && m_checker.isAvailable());
    if (isActive())
        m_timer->start();
    else
        m_marks.setMarks(EditorMarks::Spelling, {});
}

bool SpellingCommands::isChecking() const
{
    return isActive() && !m_checker.isReady();
}

void SpellingCommands::mnuCheckSpelling_Click()
{
    m_entry.toggle();
    setActive(m_entry.isChecked());
}

void SpellingCommands::txtFile_Change()
{
    if (isActive())
        m_timer->start();
}

void SpellingCommands::tmrSpelling_Timer()
{
    m_timer->stop();
    if (!isActive())
        return;
    // Once they are read, speller_Ready() comes back here.
    if (!m_checker.isReady()) {
        m_checker.load();
        return;
    }
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    underline.setUnderlineColor(Qt::red);
    QTextDocument* document = m_editor.document();
    const int first = m_editor.cursorForPosition(QPoint(0, 0)).position();
    const int last =
        m_editor.cursorForPosition(m_editor.viewport()->rect().bottomRight()).position();
    QList<QTextEdit::ExtraSelection> marks;
    for (QTextBlock block = document->findBlock(first); block.isValid() && block.position() <= last;
         block = block.next()) {
        const QString text = block.text();
        for (const SpellChecker::Word& word : SpellChecker::words(text)) {
            if (m_checker.isCorrect(text.mid(word.start, word.length)))
                continue;
            QTextCursor range(document);
            range.setPosition(block.position() + int(word.start));
            range.setPosition(block.position() + int(word.start + word.length),
                              QTextCursor::KeepAnchor);
            marks.append({range, underline});
        }
    }
    m_marks.setMarks(EditorMarks::Spelling, marks);
}

void SpellingCommands::txtFile_ContextMenu(QMenu* menu, qint64 position)
{
    if (!isActive())
        return;
    const QTextBlock block = m_editor.document()->findBlock(int(position));
    const QString text = block.text();
    const qint64 at = position - block.position();
    for (const SpellChecker::Word& word : SpellChecker::words(text)) {
        // The click may land just after the word's last letter.
        if (at < word.start || at > word.start + word.length)
            continue;
        const QString misspelt = text.mid(word.start, word.length);
        if (m_checker.isCorrect(misspelt))
            return;
        const qint64 start = block.position() + word.start;
        QAction* first = menu->actions().value(0);
        QList<QAction*> offered;
        for (const QString& suggestion : m_checker.suggestions(misspelt)) {
            auto* choice = new QAction(suggestion, menu);
            connect(choice, &QAction::triggered, this, [this, start, word, suggestion] {
                replaceWord(start, word.length, suggestion);
            });
            offered << choice;
        }
        if (offered.isEmpty()) {
            auto* none = new QAction(tr("No Suggestions"), menu);
            none->setEnabled(false);
            offered << none;
        }
        auto* add = new QAction(tr("Add to Dictionary"), menu);
        add->setObjectName(QStringLiteral("mnuAddToDictionary"));
        connect(add, &QAction::triggered, this, [this, misspelt] { acceptWord(misspelt, true); });
        auto* ignore = new QAction(tr("Ignore All"), menu);
        ignore->setObjectName(QStringLiteral("mnuIgnoreAll"));
        connect(ignore, &QAction::triggered, this,
                [this, misspelt] { acceptWord(misspelt, false); });
        menu->insertActions(first, offered);
        menu->insertSeparator(first);
        menu->insertActions(first, {add, ignore});
        menu->insertSeparator(first);
        return;
    }
}

// A suggestion goes in as an edit of the writer's own, so Undo takes it back.
void SpellingCommands::replaceWord(qint64 start, qint64 length, const QString& replacement)
{
    m_editor.setSelStart(start);
    m_editor.setSelLength(length);
    m_editor.setSelText(replacement);
    m_undo.changeundo();
}

void SpellingCommands::acceptWord(const QString& word, bool forGood)
{
    if (forGood)
        m_checker.addToPersonal(word);
    else
        m_checker.ignore(word);
    tmrSpelling_Timer();
}

void SpellingCommands::speller_Ready()
{
    tmrSpelling_Timer();
}

void SpellingCommands::speller_PersonalNotKept(const QString& word, const QString& reason)
{
    m_messages.MsgBox(
        tr("\"%1\" is accepted until Quillmere closes, but it cannot be kept in your personal "
           "dictionary, %2: %3.\n\nMake sure that file and its folder can be written, then add "
           "the word again.")
            .arg(word, QDir::toNativeSeparators(m_checker.personal().path()), reason),
        MessageService::Icon::Warning);
}

void SpellingCommands::speller_PersonalTooLarge(qint64 fileSize, qint64 bytesRead,
                                                qsizetype wordsRead)
{
    m_messages.MsgBox(
        tr("Your personal dictionary, %1, is too large to read whole: it is %2 MB, and "
           "Quillmere reads at most %3 MB of it. Only its last %4 words, the ones added most "
           "recently, are accepted as spelt right.\n\nRemove the words you do not need from "
           "that file, then start Quillmere again, to have all of your words accepted.")
            .arg(QDir::toNativeSeparators(m_checker.personal().path()), megabytes(fileSize),
                 megabytes(bytesRead), QLocale().toString(wordsRead)),
        MessageService::Icon::Warning);
}
