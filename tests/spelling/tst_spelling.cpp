#include "app/frmVellumo.h"
#include "documents/Recovery.h"
#include "editing/EditorMarks.h"
#include "platform/RichTextBox.h"
#include "spelling/SpellChecker.h"
#include "spelling/SpellDictionary.h"
#include "spelling/SpellingCommands.h"
#include "spelling/ThesaurusCommands.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace {

const QString english = QString::fromLatin1(SpellDictionary::systemFolder) + "/en_US.dic";

/// The words the spelling underline covers now.
QStringList underlined(frmVellumo* w)
{
    QStringList words;
    for (const QTextEdit::ExtraSelection& mark : marks(w)->marks(EditorMarks::Spelling))
        words << mark.cursor.selectedText();
    return words;
}

/// Lets the spelling check run, as after a pause, and waits until it is done: the
/// dictionaries are read on a worker, which on a loaded machine or under a sanitizer takes
/// far longer than the usual five seconds for a list of megabytes.
void pause(frmVellumo* w)
{
    spelling(w)->tmrSpelling_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(!spelling(w)->isChecking(), 60000);
}

/// Types text into the editor and lets the spelling check run, as after a pause.
void typeAndRest(frmVellumo* w, const QString& text)
{
    QTest::keyClicks(txtFile(w), text);
    pause(w);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

/// Chooses entry (an object name, or empty for the first entry) on the menu of a click.
void choose(frmVellumo* w, qint64 position, const char* entry)
{
    QMenu menu;
    spelling(w)->txtFile_ContextMenu(&menu, position);
    QAction* chosen = *entry ? menu.findChild<QAction*>(entry) : menu.actions().value(0);
    QVERIFY(chosen);
    chosen->trigger();
}

/// Right-clicks the word at position and, while the menu is open, lets meanwhile change the
/// text, as a seed run does when its timer fires; then chooses entry as choose() does, and
/// returns the entries that were still enabled.
QStringList chooseWhileOpen(frmVellumo* w, int position, const std::function<void()>& meanwhile,
                            const char* entry)
{
    QStringList enabled;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup)
            return;
        meanwhile();
        for (QAction* a : popup->actions())
            if (a->isEnabled() && !a->isSeparator())
                enabled << a->text();
        QAction* chosen = *entry ? popup->findChild<QAction*>(entry) : popup->actions().value(0);
        popup->setActiveAction(chosen);
        QTest::keyClick(popup, Qt::Key_Return);
        // An entry that is no longer offered leaves the menu open.
        popup->close();
    });
    QTextCursor at(txtFile(w)->document());
    at.setPosition(position);
    const QPoint onWord = txtFile(w)->cursorRect(at).center() + QPoint(3, 0);
    QContextMenuEvent click(QContextMenuEvent::Mouse, onWord,
                            txtFile(w)->viewport()->mapToGlobal(onWord));
    QApplication::sendEvent(txtFile(w)->viewport(), &click);
    return enabled;
}

} // namespace

/// Spelling: which dictionary, which words, the underline, the right-click menu and the
/// Check Spelling entry, through the real main window with the system's English dictionary.
class tst_Spelling : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_env.reset(); }

    void dictionaryForTheLocale_data();
    void dictionaryForTheLocale();
    void installedDictionariesByLanguage();
    void chosenLanguageChecksTheViewAndIsRemembered();
    void wordsSpellingLooksAt_data();
    void wordsSpellingLooksAt();
    void underlineIsDrawnAfterTheRestAndNeverStored();
    void onlyTheWordsInViewAreChecked();
    void rightClickOffersSuggestionsAboveTheEditCommands();
    void personalDictionarySurvivesARestartAndIgnoreAllDoesNot();
    void wordThatCannotBeKeptIsAcceptedForTheRunAndSaysWhy_data();
    void wordThatCannotBeKeptIsAcceptedForTheRunAndSaysWhy();
    void menuActsOnTheWordItOfferedWhileTextLandsBeforeIt_data();
    void menuActsOnTheWordItOfferedWhileTextLandsBeforeIt();
    void menuOffersNothingOnceTheWordItselfChanged();
    void wordsOfAnotherInstanceAreKeptAndLearnt();
    void linesWrittenByOtherProgramsKeepTheirBytes();
    void onlyTheWordsInViewOfALongParagraphAreChecked();
    void checkLetsOtherEventsInBetweenItsSlices();
    void tooLargePersonalDictionaryIsReadFromItsEndAndSaysSo();
    void checkSpellingIsRememberedBesideTheGeometry();
    void withoutDictionarySpellingIsOffAndSaysWhy();
    void synonymsTakeTheWordsPlaceAsOneStep();

private:
    frmVellumo* editingWindow();

    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Spelling::init()
{
    if (!QFile::exists(english))
        QSKIP("needs the hunspell-en-us dictionary");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_env = std::make_unique<TestEnvironment>();
}

frmVellumo* tst_Spelling::editingWindow()
{
    frmVellumo* w = m_env->window();
    w->resize(600, 400);
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        QTest::qFail("main window not active", __FILE__, __LINE__);
    txtFile(w)->SetFocus();
    return w;
}

void tst_Spelling::dictionaryForTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("chosen");

    const QStringList several{"de_AT", "de_DE", "en_US", "fr"};
    QTest::newRow("nominal: the locale's own") << "de_AT" << several << "de_AT";
    QTest::newRow("nominal: another country of the same language") << "de_CH" << several << "de_DE";
    QTest::newRow("nominal: the language alone") << "fr_CA" << several << "fr";
    QTest::newRow("nominal: English (US) where the language has none")
        << "ja_JP" << several << "en_US";
    QTest::newRow("robustness: the C locale") << "C" << several << "en_US";
    QTest::newRow("robustness: an affix file without its words")
        << "de_DE" << QStringList{"de_DE.aff-only", "en_US"} << "en_US";
    QTest::newRow("robustness: no dictionary at all") << "en_US" << QStringList{} << "";
}

void tst_Spelling::dictionaryForTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, installed);
    QFETCH(QString, chosen);
    const QString folder = m_env->path("dictionaries");
    QVERIFY(QDir().mkpath(folder));
    for (const QString& name : installed) {
        const bool affixOnly = name.endsWith("-only");
        const QString base = QString(name).remove(".aff-only");
        QFile(folder + "/" + base + ".aff").open(QIODevice::WriteOnly);
        if (!affixOnly)
            QFile(folder + "/" + base + ".dic").open(QIODevice::WriteOnly);
    }
    const SpellDictionary found = SpellDictionary::find(QLocale(locale), {folder});
    QCOMPARE(found.name, chosen);
    QCOMPARE(found.isValid(), !chosen.isEmpty());
    QCOMPARE(found.folders, QStringList{folder});
    if (found.isValid())
        QCOMPARE(found.wordFile, folder + "/" + chosen + ".dic");
}

// The writer's own folder comes first, so a dictionary there stands in for the system's.
void tst_Spelling::installedDictionariesByLanguage()
{
    const QString own = m_env->path("own");
    const QString system = m_env->path("system");
    for (const QString& file :
         {own + "/en_US.aff", own + "/en_US.dic", system + "/en_US.aff", system + "/en_US.dic",
          system + "/de.aff", system + "/de.dic", system + "/fr_FR.aff",
          system + "/de_DE_frami.aff", system + "/de_DE_frami.dic", system + "/xx_YY.aff",
          system + "/xx_YY.dic"})
        QVERIFY(writeFile(file, {}));
    const QList<SpellDictionary> found = SpellDictionary::installed({own, system});
    QStringList languages;
    for (const SpellDictionary& dictionary : found)
        languages << dictionary.languageName();
    QCOMPARE(languages, (QStringList{"English (United States)", "German",
                                     "German (Germany) [de_DE_frami]", "xx_YY"}));
    QCOMPARE(found.constFirst().wordFile, own + "/en_US.dic");
    QCOMPARE(SpellDictionary::named("de", {own, system}).affixFile, system + "/de.aff");
    QVERIFY(!SpellDictionary::named("fr_FR", {own, system}).isValid());
    QVERIFY(SpellDictionary::systemFolders().contains("/usr/share/myspell/dicts"));
}

// A German stand-in that knows one word, beside the real English dictionary.
void tst_Spelling::chosenLanguageChecksTheViewAndIsRemembered()
{
    const QString folder = m_env->path("dictionaries");
    QVERIFY(QDir().mkpath(folder));
    for (const char* file : {"/en_US.aff", "/en_US.dic"})
        QVERIFY(QFile::copy(QFileInfo(english).path() + file, folder + file));
    QVERIFY(writeFile(folder + "/de_DE.aff", "SET UTF-8\n"));
    QVERIFY(writeFile(folder + "/de_DE.dic", "1\nHund\n"));
    m_env->dictionaryDir = folder;
    frmVellumo* w = editingWindow();
    QMenu* languages = menu(w, "mnuSpellingLanguage");
    QCOMPARE(languages->actions().size(), 2);
    QVERIFY(action(w, "mnuLanguage_en_US")->isChecked());
    QCOMPARE(action(w, "mnuLanguage_de_DE")->text(), "German (Germany)");
    typeAndRest(w, "Hund dog");
    QCOMPARE(underlined(w), QStringList{"Hund"});

    action(w, "mnuLanguage_de_DE")->trigger();
    QTRY_COMPARE(underlined(w), QStringList{"dog"});
    QVERIFY(action(w, "mnuLanguage_de_DE")->isChecked());
    QVERIFY(!action(w, "mnuLanguage_en_US")->isChecked());

    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    w = editingWindow();
    QVERIFY(action(w, "mnuLanguage_de_DE")->isChecked());
    typeAndRest(w, "Hund dog");
    QCOMPARE(underlined(w), QStringList{"dog"});

    // Choosing the one in use changes nothing.
    action(w, "mnuLanguage_de_DE")->trigger();
    QVERIFY(action(w, "mnuLanguage_de_DE")->isChecked());
    pause(w);
    QCOMPARE(underlined(w), QStringList{"dog"});
}

void tst_Spelling::wordsSpellingLooksAt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("nominal: words with apostrophes inside")
        << QString::fromUtf8("Don't stop, it’s 'fine'")
        << QStringList{"Don't", "stop", "it’s", "fine"};
    QTest::newRow("nominal: a full stop ends a sentence")
        << "the end. Next" << QStringList{"the", "end", "Next"};
    QTest::newRow("robustness: digits, underscores and addresses are left alone")
        << "3rd snake_case mail@example.org www.example.org/teh" << QStringList{};
    QTest::newRow("robustness: scripts without spaces are left alone")
        << QString::fromUtf8("日本語 teh") << QStringList{"teh"};
    QTest::newRow("robustness: a letter beyond the first plane stays in its word")
        << QString::fromUtf8("a\U0001D400b c") << QString::fromUtf8("a\U0001D400b c").split(' ');
    QTest::newRow("robustness: empty") << "" << QStringList{};
}

void tst_Spelling::wordsSpellingLooksAt()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList found;
    for (const SpellChecker::Word& word : SpellChecker::words(text))
        found << text.mid(word.start, word.length);
    QCOMPARE(found, words);
}

// The check waits for a pause, the underline is drawn over the text, and nothing of it reaches
// the RTF, the saved file, the undo states or the recovery copies.
void tst_Spelling::underlineIsDrawnAfterTheRestAndNeverStored()
{
    frmVellumo* w = editingWindow();
    QTimer* rest = spelling(w)->tmrSpelling();
    QCOMPARE(rest->interval(), SpellingCommands::restMs);
    QVERIFY(rest->isSingleShot());
    QTest::keyClicks(txtFile(w), "teh quick");
    QVERIFY(rest->isActive());
    QVERIFY(underlined(w).isEmpty());
    pause(w);
    QCOMPARE(underlined(w), QStringList{"teh"});

    const QTextEdit::ExtraSelection mark = marks(w)->marks(EditorMarks::Spelling).constFirst();
    QCOMPARE(mark.format.underlineStyle(), QTextCharFormat::WaveUnderline);
    QCOMPARE(mark.format.underlineColor(), QColor(Qt::red));
    QCOMPARE(txtFile(w)->extraSelections().size(), 1);

    QTest::keyClick(txtFile(w), Qt::Key_Space);
    const QString file = m_env->path("letter.doc");
    m_env->dialog.queueFileName(file);
    action(w, "mnuSaveas")->trigger();
    QTest::keyClicks(txtFile(w), "fxo");
    pause(w);
    QCOMPARE(underlined(w), (QStringList{"teh", "fxo"}));
    recovery(w)->tmrRecovery_Timer();

    QStringList stored{txtFile(w)->TextRTF(), QString::fromLatin1(readAll(file))};
    action(w, "mnuSelectall")->trigger();
    stored << txtFile(w)->SelRTF();
    QDirIterator copies(m_env->path("data"), QDir::Files, QDirIterator::Subdirectories);
    int recoveryCopies = 0;
    while (copies.hasNext())
        if (const QString copy = copies.next();
            copy.contains("recovery") && !copy.endsWith(".lock")) {
            stored << QString::fromLatin1(readAll(copy));
            ++recoveryCopies;
        }
    QVERIFY(recoveryCopies >= 1);
    action(w, "mnuUndo")->trigger();
    stored << txtFile(w)->TextRTF();
    for (const QString& rtf : std::as_const(stored)) {
        QVERIFY2(rtf.contains("teh"), qPrintable(rtf));
        QVERIFY2(!rtf.contains("\\ul"), qPrintable(rtf));
    }
}

void tst_Spelling::onlyTheWordsInViewAreChecked()
{
    frmVellumo* w = editingWindow();
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << QStringLiteral("line %1 teh").arg(i);
    txtFile(w)->setSelText(lines.join('\n'));
    txtFile(w)->setSelStart(0);
    pause(w);
    const qsizetype inView = underlined(w).size();
    QVERIFY2(inView > 0 && inView < 100, qPrintable(QString::number(inView)));
    const auto firstMarked = [w] {
        return marks(w)->marks(EditorMarks::Spelling).constFirst().cursor.block().blockNumber();
    };
    QCOMPARE(firstMarked(), 0);

    // Scrolling brings other words into view, checked once the view rests.
    QScrollBar* bar = txtFile(w)->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(spelling(w)->tmrSpelling()->isActive());
    pause(w);
    QVERIFY(firstMarked() > 300);
    QCOMPARE(marks(w)->marks(EditorMarks::Spelling).constLast().cursor.block().blockNumber(), 399);
}

void tst_Spelling::rightClickOffersSuggestionsAboveTheEditCommands()
{
    frmVellumo* w = editingWindow();
    typeAndRest(w, "teh quick");

    // On a word spelt right the menu is the Edit menu's entries alone.
    QMenu plain;
    plain.addAction(action(w, "mnuUndo"));
    spelling(w)->txtFile_ContextMenu(&plain, 6);
    QCOMPARE(plain.actions().size(), 1);

    QStringList offered;
    // The menu runs its own event loop; look at it and choose the first suggestion.
    QTimer::singleShot(0, this, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup)
            return;
        for (QAction* a : popup->actions())
            offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
        popup->setActiveAction(popup->actions().constFirst());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    const QPoint onWord =
        txtFile(w)->cursorRect(QTextCursor(txtFile(w)->document())).center() + QPoint(3, 0);
    QContextMenuEvent click(QContextMenuEvent::Mouse, onWord,
                            txtFile(w)->viewport()->mapToGlobal(onWord));
    QApplication::sendEvent(txtFile(w)->viewport(), &click);

    QVERIFY2(offered.size() > 4, qPrintable(offered.join('|')));
    QCOMPARE(offered.constFirst(), QStringLiteral("the"));
    const qsizetype suggestions = offered.indexOf("-");
    QVERIFY(suggestions >= 1 && suggestions <= 7);
    QCOMPARE(offered.mid(suggestions, 4),
             (QStringList{"-", "Add to Dictionary", "Ignore All", "-"}));
    QCOMPARE(offered.at(suggestions + 4), action(w, "mnuUndo")->text());
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("the quick"));
    // The suggestion went in as an edit of the writer's own.
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("teh quick"));
}

void tst_Spelling::personalDictionarySurvivesARestartAndIgnoreAllDoesNot()
{
    frmVellumo* w = editingWindow();
    typeAndRest(w, "zzyzx qwghlm");
    QCOMPARE(underlined(w), (QStringList{"zzyzx", "qwghlm"}));
    choose(w, 2, "mnuAddToDictionary");
    QCOMPARE(underlined(w), QStringList{"qwghlm"});
    choose(w, 8, "mnuIgnoreAll");
    QVERIFY(underlined(w).isEmpty());
    QTRY_VERIFY(readAll(m_env->path("data/dictionary.txt")).contains("zzyzx\n"));

    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    w = editingWindow();
    typeAndRest(w, "zzyzx qwghlm");
    QCOMPARE(underlined(w), QStringList{"qwghlm"});
}

void tst_Spelling::wordThatCannotBeKeptIsAcceptedForTheRunAndSaysWhy_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("reason");

    // Things in the way that stop even root.
    QTest::newRow("robustness: a file where the data folder should be") << "data"
                                                                        << "cannot be made";
    QTest::newRow("robustness: a folder where the list should be") << "data/dictionary.txt"
                                                                   << "directory";
}

void tst_Spelling::wordThatCannotBeKeptIsAcceptedForTheRunAndSaysWhy()
{
    QFETCH(QString, blocked);
    QFETCH(QString, reason);
    if (blocked.endsWith(".txt"))
        QVERIFY(QDir().mkpath(m_env->path(blocked)));
    else
        QVERIFY(writeFile(m_env->path(blocked), {}));
    frmVellumo* w = editingWindow();
    typeAndRest(w, "zzyzx");
    choose(w, 2, "mnuAddToDictionary");

    QVERIFY(underlined(w).isEmpty());
    // Where the data folder is blocked, recovery copies cannot be kept there either: that was
    // told first, in a box of its own.
    QTRY_VERIFY(!m_env->messages.boxes.isEmpty() &&
                m_env->messages.boxes.constLast().prompt.contains("zzyzx"));
    const RecordingMessageService::Box box = m_env->messages.boxes.constLast();
    QCOMPARE(box.icon, MessageService::Icon::Warning);
    QCOMPARE(box.title, QStringLiteral("Quillmere"));
    QVERIFY2(box.prompt.contains("\"zzyzx\"") &&
                 box.prompt.contains(QDir::toNativeSeparators(m_env->path("data"))) &&
                 box.prompt.contains(reason, Qt::CaseInsensitive),
             qPrintable(box.prompt));
}

void tst_Spelling::menuActsOnTheWordItOfferedWhileTextLandsBeforeIt_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inList");

    const QString landed = "Seed words land here. quiet words ";
    QTest::newRow("nominal: a suggestion replaces the word")
        << QByteArray() << landed + "the" << false;
    QTest::newRow("nominal: Add to Dictionary adds it")
        << QByteArray("mnuAddToDictionary") << landed + "teh" << true;
    QTest::newRow("nominal: Ignore All ignores it")
        << QByteArray("mnuIgnoreAll") << landed + "teh" << false;
}

// The prompt timer goes on while the menu waits for the writer.
void tst_Spelling::menuActsOnTheWordItOfferedWhileTextLandsBeforeIt()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, text);
    QFETCH(bool, inList);
    frmVellumo* w = editingWindow();
    typeAndRest(w, "quiet words teh");
    const QStringList enabled = chooseWhileOpen(
        w, 13, [w] { QTextCursor(txtFile(w)->document()).insertText("Seed words land here. "); },
        entry.constData());

    QVERIFY2(enabled.contains("the") && enabled.contains("Add to Dictionary"),
             qPrintable(enabled.join('|')));
    QCOMPARE(txtFile(w)->Text(), text);
    pause(w);
    QVERIFY2(underlined(w).isEmpty(), qPrintable(underlined(w).join('|')));
    const QString list = m_env->path("data/dictionary.txt");
    QTRY_COMPARE(PersonalDictionary::wordsOf(readAll(list)).contains("teh"), inList);
}

void tst_Spelling::menuOffersNothingOnceTheWordItselfChanged()
{
    frmVellumo* w = editingWindow();
    typeAndRest(w, "quiet teh words");
    const QStringList enabled = chooseWhileOpen(
        w, 7,
        [w] {
            QTextCursor inside(txtFile(w)->document());
            inside.setPosition(8);
            inside.insertText("x");
        },
        "");

    // The Edit menu's entries stay.
    QVERIFY2(enabled.contains(action(w, "mnuUndo")->text()) && !enabled.contains("the") &&
                 !enabled.contains("Add to Dictionary") && !enabled.contains("Ignore All"),
             qPrintable(enabled.join('|')));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("quiet texh words"));
}

// Each instance reads the list as it is when it adds a word, and hears of what others added.
void tst_Spelling::wordsOfAnotherInstanceAreKeptAndLearnt()
{
    frmVellumo* w = editingWindow();
    typeAndRest(w, "zzyzx qwghlm");
    QCOMPARE(underlined(w), (QStringList{"zzyzx", "qwghlm"}));

    const PersonalDictionary other(m_env->path("data"));
    QString error;
    QVERIFY2(other.add("qwghlm", &error), qPrintable(error));
    QTRY_COMPARE(underlined(w), QStringList{"zzyzx"});

    choose(w, 2, "mnuAddToDictionary");
    QTRY_COMPARE(other.read().words, (QStringList{"qwghlm", "zzyzx"}));
    QVERIFY(underlined(w).isEmpty());
}

// A list kept in Latin-1 with Windows line endings, as an older program writes it.
void tst_Spelling::linesWrittenByOtherProgramsKeepTheirBytes()
{
    const QString list = m_env->path("data/dictionary.txt");
    const QByteArray written("z\xe9lmor\r\nbr\xf8ndix\r\n");
    QVERIFY(writeFile(list, written));
    frmVellumo* w = editingWindow();
    txtFile(w)->setSelText(QString::fromUtf8("zélmor brøndix zzyzx"));
    pause(w);
    QCOMPARE(underlined(w), QStringList{"zzyzx"});

    choose(w, 16, "mnuAddToDictionary");
    QTRY_COMPARE(readAll(list), written + "zzyzx\r\n");
}

void tst_Spelling::onlyTheWordsInViewOfALongParagraphAreChecked()
{
    frmVellumo* w = editingWindow();
    txtFile(w)->setSelText(QStringLiteral("teh ").repeated(20000));
    txtFile(w)->setSelStart(0);
    pause(w);

    const QList<QTextEdit::ExtraSelection> found = marks(w)->marks(EditorMarks::Spelling);
    QVERIFY2(!found.isEmpty() && found.size() < 500, qPrintable(QString::number(found.size())));
    QCOMPARE(found.constFirst().cursor.selectionStart(), 0);
    const QRect view = txtFile(w)->viewport()->rect();
    for (const QTextEdit::ExtraSelection& mark : found) {
        QTextCursor start = mark.cursor;
        start.setPosition(mark.cursor.selectionStart());
        QVERIFY(view.intersects(txtFile(w)->cursorRect(start)));
    }
}

// Checking the words in view takes a few milliseconds at a time, with the window's other work
// in between, however many words there are.
void tst_Spelling::checkLetsOtherEventsInBetweenItsSlices()
{
    frmVellumo* w = editingWindow();
    txtFile(w)->setSelText(QStringLiteral("teh fxo ").repeated(10));
    pause(w);
    QCOMPARE(underlined(w).size(), 20);
    txtFile(w)->setSelStart(0);
    QTest::keyClicks(txtFile(w), "zzyzx ");

    // Each word takes a millisecond on this clock.
    m_env->onClockRead = [this] { ++m_env->now; };
    spelling(w)->tmrSpelling_Timer();
    QVERIFY(spelling(w)->isChecking());
    QCOMPARE(underlined(w).size(), 20);
    QTRY_COMPARE(underlined(w).size(), 21);
    QVERIFY(!spelling(w)->isChecking());
    QCOMPARE(underlined(w).constFirst(), QStringLiteral("zzyzx"));
}

void tst_Spelling::tooLargePersonalDictionaryIsReadFromItsEndAndSaysSo()
{
    // Words of letters alone, as many as make the list a little longer than what is read.
    QByteArray list;
    for (int i = 0; list.size() <= PersonalDictionary::mostBytes + 1000; ++i) {
        QByteArray word("zq");
        for (int n = i; word.size() < 7; n /= 26)
            word += char('a' + n % 26);
        list += word + '\n';
    }
    QVERIFY(writeFile(m_env->path("data/dictionary.txt"), list));
    frmVellumo* w = editingWindow();
    const QString first = QString::fromLatin1(list.left(7));
    const QString last = QString::fromLatin1(list.right(8).left(7));
    typeAndRest(w, first + " " + last);

    QCOMPARE(underlined(w), QStringList{first});
    QCOMPARE(m_env->messages.boxes.size(), 1);
    const QString prompt = m_env->messages.boxes.constFirst().prompt;
    QVERIFY2(prompt.contains(QDir::toNativeSeparators(m_env->path("data/dictionary.txt"))) &&
                 prompt.contains("4.0 MB") && prompt.contains("too large"),
             qPrintable(prompt));
    // Read again after another instance's addition, it is not said again.
    QSignalSpy readAgain(child<SpellChecker>(w), &SpellChecker::ready);
    QString error;
    QVERIFY2(PersonalDictionary(m_env->path("data")).add("qwghlm", &error), qPrintable(error));
    QVERIFY(readAgain.wait(60000));
    QCOMPARE(m_env->messages.boxes.size(), 1);
}

void tst_Spelling::checkSpellingIsRememberedBesideTheGeometry()
{
    frmVellumo* w = editingWindow();
    typeAndRest(w, "teh");
    QCOMPARE(underlined(w).size(), 1);
    QAction* entry = action(w, "mnuCheckSpelling");
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QVERIFY(underlined(w).isEmpty());
    QTest::keyClicks(txtFile(w), " fxo");
    QVERIFY(!spelling(w)->tmrSpelling()->isActive());

    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    QSettings stored(m_env->settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value("Settings/CheckSpelling").toString(), QStringLiteral("false"));
    QVERIFY(stored.contains("Settings/MainWidth"));

    w = editingWindow();
    QVERIFY(!action(w, "mnuCheckSpelling")->isChecked());
    action(w, "mnuCheckSpelling")->trigger();
    QVERIFY(action(w, "mnuCheckSpelling")->isChecked());
    typeAndRest(w, "teh");
    QCOMPARE(underlined(w), QStringList{"teh"});
}

void tst_Spelling::withoutDictionarySpellingIsOffAndSaysWhy()
{
    {
        QSettings stored(m_env->settingsFile(), QSettings::IniFormat);
        stored.setValue("Settings/CheckSpelling", true);
    }
    m_env->dictionaryDir = m_env->path("no-dictionaries");
    frmVellumo* w = editingWindow();
    QAction* entry = action(w, "mnuCheckSpelling");
    QVERIFY(!entry->isEnabled());
    QVERIFY(!entry->isChecked());
    QVERIFY2(entry->toolTip().contains(QDir::toNativeSeparators(m_env->dictionaryDir)) &&
                 entry->toolTip().contains("dictionary"),
             qPrintable(entry->toolTip()));
    typeAndRest(w, "teh");
    QVERIFY(underlined(w).isEmpty());
    QMenu menu;
    spelling(w)->txtFile_ContextMenu(&menu, 1);
    QVERIFY(menu.actions().isEmpty());

    // What the writer chose stays for a run that has a dictionary again.
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    QCOMPARE(QSettings(m_env->settingsFile(), QSettings::IniFormat)
                 .value("Settings/CheckSpelling")
                 .toString(),
             QStringLiteral("true"));
}

// A thesaurus as the mythes packages lay it out: an index of byte offsets into the data.
void writeThesaurus(const QString& folder, const QString& language, const QByteArray& entry)
{
    const QByteArray head = "UTF-8\n";
    const QString base = folder + "/th_" + language + "_v2";
    QVERIFY(writeFile(base + ".dat", head + entry));
    QVERIFY(writeFile(base + ".idx", head + "1\n" + entry.left(entry.indexOf('|')) + '|' +
                                         QByteArray::number(head.size()) + "\n"));
}

void tst_Spelling::synonymsTakeTheWordsPlaceAsOneStep()
{
    m_env->thesaurusDir = m_env->path("thesaurus");
    writeThesaurus(m_env->thesaurusDir, "en_US",
                   "happy|2\n(adj)|glad|joyful (similar term)|unhappy (antonym)\n"
                   "(adj)|felicitous|fortunate (similar term)\n");
    writeThesaurus(m_env->thesaurusDir, "de_DE", "happy|1\n(adj)|froh\n");
    frmVellumo* w = editingWindow();
    typeAndRest(w, "So happy, Happy");
    auto* thesaurus = w->findChild<ThesaurusCommands*>();
    const auto offeredAt = [&](QMenu& menu, int position) {
        thesaurus->txtFile_ContextMenu(&menu, position);
        QStringList offered;
        if (auto* synonyms = menu.findChild<QMenu*>("mnuSynonyms"))
            for (QAction* entry : synonyms->actions())
                offered << (entry->isSeparator() ? "[" + entry->text() + "]" : entry->text());
        return offered;
    };

    QMenu menu;
    QCOMPARE(offeredAt(menu, 4), (QStringList{"[(adj) glad]", "glad", "joyful",
                                              "[(adj) felicitous]", "felicitous", "fortunate"}));
    // Text landing before the word while the menu is open moves it, not the replacement.
    txtFile(w)->moveCursor(QTextCursor::Start);
    QTest::keyClicks(txtFile(w), "Oh. ");
    menu.findChild<QMenu*>("mnuSynonyms")->actions().at(2)->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("Oh. So joyful, Happy"));
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("Oh. So happy, Happy"));

    QMenu capital;
    QCOMPARE(offeredAt(capital, 16).value(1), QStringLiteral("Glad"));
    QMenu unknown;
    QCOMPARE(offeredAt(unknown, 5), QStringList());
    // Synonyms follow the language spelling checks in.
    emit spelling(w)->dictionarySet(QStringLiteral("de_DE"));
    QMenu german;
    QCOMPARE(offeredAt(german, 9), (QStringList{"[(adj) froh]", "froh"}));
}

QTEST_MAIN(tst_Spelling)
#include "tst_spelling.moc"
