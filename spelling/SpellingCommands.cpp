#include "spelling/SpellingCommands.h"

#include "editing/EditorMarks.h"
#include "editing/UndoSnapshot.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "spelling/MenuWord.h"
#include "spelling/TextInView.h"

#include <QAction>
#include <QDir>
#include <QHash>
#include <QLocale>
#include <QMenu>
#include <QTextCursor>
#include <QTimer>

#include <utility>

namespace {

QString megabytes(qint64 bytes)
{
    return QLocale().toString(double(bytes) / (1024 * 1024), 'f', 1);
}

} // namespace

SpellingCommands::SpellingCommands(RichTextBox& editor, EditorMarks& marks, SpellChecker& checker,
                                   UndoSnapshot& undo, QAction& entry,
                                   const QList<QAction*>& languages, MessageService& messages,
                                   std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_editor(editor), m_marks(marks), m_checker(checker), m_undo(undo),
      m_entry(entry), m_languages(languages), m_messages(messages), m_clock(std::move(clock))
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrSpelling"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
    m_slices = new QTimer(this);
    m_slices->setObjectName(QStringLiteral("tmrChecking"));
    m_slices->setSingleShot(true);
    m_slices->setInterval(0);
    showDictionary();
    setActive(true);
}

void SpellingCommands::showDictionary()
{
    const bool available = m_checker.isAvailable();
    m_entry.setEnabled(available);
    QStringList folders;
    for (const QString& folder : m_checker.dictionary().folders)
        folders << QDir::toNativeSeparators(folder);
    m_entry.setToolTip(
        available ? QString()
                  : tr("Spelling needs a Hunspell dictionary (.aff and .dic files, such as "
                       "those of the hunspell-en-us package) in %1, and there is none.")
                        .arg(folders.join(QLatin1String(", "))));
    for (QAction* language : std::as_const(m_languages))
        language->setChecked(language->data().toString() == m_checker.dictionary().name);
}

bool SpellingCommands::isActive() const
{
    return m_entry.isChecked();
}

void SpellingCommands::setActive(bool on)
{
    m_entry.setChecked(on && m_checker.isAvailable());
    m_slices->stop();
    if (isActive())
        m_timer->start();
    else
        m_marks.setMarks(EditorMarks::Spelling, {});
}

bool SpellingCommands::isChecking() const
{
    return isActive() && (!m_checker.isReady() || m_slices->isActive());
}

void SpellingCommands::mnuCheckSpelling_Click()
{
    m_entry.toggle();
    setActive(m_entry.isChecked());
}

void SpellingCommands::setDictionary(const SpellDictionary& dictionary)
{
    m_checker.setDictionary(dictionary);
    showDictionary();
    emit dictionarySet(dictionary.name);
    // Once the dictionary is read, speller_Ready() checks what is in view with it.
    setActive(isActive());
}

void SpellingCommands::mnuSpellingLanguage_Click(const SpellDictionary& dictionary)
{
    setDictionary(dictionary);
    emit languageChosen(dictionary.name);
}

// What a check under way found no longer stands where it was found.
void SpellingCommands::txtFile_Change()
{
    m_slices->stop();
    if (isActive())
        m_timer->start();
}

void SpellingCommands::tmrSpelling_Timer()
{
    m_timer->stop();
    m_slices->stop();
    if (!isActive())
        return;
    // Once they are read, speller_Ready() comes back here.
    if (!m_checker.isReady()) {
        m_checker.load();
        return;
    }
    const auto [first, last] = TextInView::positions(m_editor);
    // A word that starts where the last line in view ends is on the line below.
    m_pass = {};
    static_cast<SpellChecker::Around&>(m_pass) =
        SpellChecker::wordsAround(*m_editor.document(), first, qMax(first, last - 1));
    tmrChecking_Timer();
}

void SpellingCommands::tmrChecking_Timer()
{
    const qint64 started = m_clock();
    while (m_pass.next < m_pass.words.size()) {
        if (m_clock() - started >= sliceMs) {
            m_slices->start();
            return;
        }
        const SpellChecker::Word& word = m_pass.words.at(m_pass.next++);
        if (!m_checker.isCorrect(m_pass.text.mid(word.start, word.length)))
            m_pass.wrong << word;
    }
    showMarks();
}

// Each new cursor reads the characters of its whole paragraph, so the marks of words marked
// before are kept; when they are all kept, the editor is not even repainted.
void SpellingCommands::showMarks()
{
    QHash<std::pair<int, int>, QTextCursor> shown;
    for (const QTextEdit::ExtraSelection& mark : m_marks.marks(EditorMarks::Spelling))
        shown.insert({mark.cursor.selectionStart(), mark.cursor.selectionEnd()}, mark.cursor);
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    underline.setUnderlineColor(Qt::red);
    QList<QTextEdit::ExtraSelection> marks;
    for (const SpellChecker::Word& word : std::as_const(m_pass.wrong)) {
        const int start = m_pass.start + int(word.start);
        const int end = start + int(word.length);
        QTextCursor range = shown.value({start, end});
        if (range.isNull() || range.document() != m_editor.document()) {
            range = QTextCursor(m_editor.document());
            range.setPosition(start);
            range.setPosition(end, QTextCursor::KeepAnchor);
        }
        marks.append({range, underline});
    }
    m_pass = {};
    m_marks.setMarks(EditorMarks::Spelling, marks);
}

void SpellingCommands::txtFile_ContextMenu(QMenu* menu, qint64 position)
{
    const MenuWord word = isActive() ? MenuWord::at(m_editor, int(position)) : MenuWord();
    if (word.isNull() || m_checker.isCorrect(word.text()))
        return;
    QList<QAction*> offered;
    for (const QString& suggestion : m_checker.suggestions(word.text())) {
        auto* choice = new QAction(suggestion, menu);
        connect(choice, &QAction::triggered, this,
                [this, word, suggestion] { word.replace(m_editor, m_undo, suggestion); });
        offered << choice;
    }
    if (offered.isEmpty()) {
        auto* none = new QAction(tr("No Suggestions"), menu);
        none->setEnabled(false);
        offered << none;
    }
    const QString misspelt = word.text();
    auto* add = new QAction(tr("Add to Dictionary"), menu);
    add->setObjectName(QStringLiteral("mnuAddToDictionary"));
    connect(add, &QAction::triggered, this, [this, misspelt] { acceptWord(misspelt, true); });
    auto* ignore = new QAction(tr("Ignore All"), menu);
    ignore->setObjectName(QStringLiteral("mnuIgnoreAll"));
    connect(ignore, &QAction::triggered, this, [this, misspelt] { acceptWord(misspelt, false); });
    // While the menu is open, seed runs still land and the word moves with the text around it;
    // once the word itself is changed or gone, nothing is offered for it any more.
    word.withdrawWhenChanged(m_editor, menu, offered + QList<QAction*>{add, ignore});
    QAction* first = menu->actions().value(0);
    menu->insertActions(first, offered);
    menu->insertSeparator(first);
    menu->insertActions(first, {add, ignore});
    menu->insertSeparator(first);
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
