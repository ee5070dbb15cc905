#include "app/frmVellumo.h"
#include "dialogs/SeedLibraryCommands.h"
#include "dialogs/frmSeeds.h"
#include "platform/RichTextBox.h"
#include "seed/PausePrompter.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedLibrary.h"
#include "seed/SeedPrompter.h"
#include "seed/SeedRun.h"
#include "seed/SeedWords.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

/// The seed library, its mix and its recent files, no repeats, and the pause prompt.
class tst_SeedPrompts : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void weightedDrawKeepsToTheWeights();
    void libraryIsKeptInTheSettings();
    void noRepeatsEndsOnAOneWordSeed();
    void noRepeatsAvoidsRecentStarts();
    void manageSeedsListsFilesAndMixesThem();
    void recentSeedFilesAreOffered();
    void unreadableSeedsAreNeverDrawn();
    void pausePromptsOncePerPauseNeverWhileTyping();
    void pauseAndTimerExcludeEachOther();

private:
    /// Makes "word" the seed text, as New Seed does.
    void loadWordSeed(frmVellumo* w);

    std::unique_ptr<TestEnvironment> m_env;
};

void tst_SeedPrompts::loadWordSeed(frmVellumo* w)
{
    writeTestFile(m_env->path("word.txt"), "word");
    m_env->dialog.queueFileName(m_env->path("word.txt"));
    action(w, "mnuNewSeed")->trigger();
    QCOMPARE(seed(w)->seedText(), "word");
}

void tst_SeedPrompts::weightedDrawKeepsToTheWeights()
{
    SeedLibrary library;
    library.seeds = {{"a", 1, true}, {"b", 3, true}, {"off", 10, false}, {"c", 6, true}};
    RandomGenerator random(42);
    constexpr int draws = 20000;
    QList<int> counts(4, 0);
    for (int i = 0; i < draws; ++i)
        ++counts[library.draw(random)];
    QCOMPARE(counts[2], 0);
    // Four standard deviations of a binomial count at most.
    const QList<double> shares{0.1, 0.3, 0.0, 0.6};
    for (int seed : {0, 1, 3}) {
        const double expected = draws * shares[seed];
        const double deviation = std::sqrt(draws * shares[seed] * (1 - shares[seed]));
        QVERIFY2(std::abs(counts[seed] - expected) < 4 * deviation,
                 qPrintable(QStringLiteral("seed %1 drawn %2 times").arg(seed).arg(counts[seed])));
    }
    library.seeds[0].active = library.seeds[1].active = library.seeds[3].active = false;
    QCOMPARE(library.draw(random), -1);
}

void tst_SeedPrompts::libraryIsKeptInTheSettings()
{
    SeedLibrary library;
    library.seeds = {{"/x/a.txt", 2, true}, {"/x/b.txt", 10, false}};
    for (int i = 0; i < 12; ++i)
        library.addRecent(QStringLiteral("/r/%1.txt").arg(i % 11));
    QCOMPARE(library.recent.size(), SeedLibrary::maxRecent);
    QCOMPARE(library.recent.first(), "/r/0.txt");
    QCOMPARE(library.recent.count("/r/0.txt"), 1);
    library.noRepeats = true;
    library.memory = 7;
    QSettings settings(m_env->settingsFile(), QSettings::IniFormat);
    library.save(settings);
    SeedLibrary read;
    read.load(settings);
    QCOMPARE(read, library);
}

void tst_SeedPrompts::noRepeatsEndsOnAOneWordSeed()
{
    frmVellumo* w = m_env->window();
    SeedLibrary library;
    library.noRepeats = true;
    child<SeedLibraryCommands>(w)->setLibrary(library);
    for (int i = 0; i < 3; ++i)
        seed(w)->injectseed(QStringLiteral("solo"));
    QCOMPARE(txtFile(w)->Text(), "solo solo solo ");
}

void tst_SeedPrompts::noRepeatsAvoidsRecentStarts()
{
    frmVellumo* w = m_env->window();
    const QString seedText = QStringLiteral("a b c d e f g h i j k l m n o p q r s t");
    const auto starts = [&](bool noRepeats) {
        SeedLibrary library;
        library.noRepeats = noRepeats;
        child<SeedLibraryCommands>(w)->setLibrary(library);
        m_env->random = RandomGenerator(7);
        QStringList first;
        for (int i = 0; i < 6; ++i) {
            txtFile(w)->setTextRTF(QStringLiteral("x"));
            txtFile(w)->setSelStart(0);
            txtFile(w)->setSelLength(1);
            seed(w)->injectseed(seedText);
            first << txtFile(w)->Text().left(1);
        }
        return first;
    };
    // Off, the draws are those of the generator as they come.
    RandomGenerator replay(7);
    const SeedWords words(seedText);
    QStringList expected;
    for (int i = 0; i < 6; ++i) {
        replay.reseed(221);
        const float r1 = replay.draw();
        const float r2 = replay.draw();
        expected << SeedRun::build(words, r1, r2).left(1);
    }
    QCOMPARE(starts(false), expected);
    QVERIFY(QSet<QString>(expected.cbegin(), expected.cend()).size() < expected.size());
    const QStringList avoided = starts(true);
    QCOMPARE(QSet<QString>(avoided.cbegin(), avoided.cend()).size(), avoided.size());
}

void tst_SeedPrompts::manageSeedsListsFilesAndMixesThem()
{
    frmVellumo* w = m_env->window();
    const QString folder = m_env->path(QStringLiteral("seeds"));
    writeTestFile(folder + "/one.txt", "red");
    writeTestFile(folder + "/two.txt", "blue blue");
    writeTestFile(folder + "/notes.md", "skipped");
    writeTestFile(m_env->path("three.txt"), "green green green");
    writeTestFile(m_env->path("binary.txt"), QByteArray("\0\1\2", 3));
    action(w, "mnuManageSeeds")->trigger();
    frmSeeds* dialog = child<frmSeeds>(w);
    m_env->dialog.queueFileName(folder);
    child<QPushButton>(dialog, "cmdAddFolder")->click();
    for (const char* name : {"three.txt", "binary.txt", "gone.txt"}) {
        m_env->dialog.queueFileName(m_env->path(name));
        child<QPushButton>(dialog, "cmdAddFile")->click();
    }
    auto* list = child<QTableWidget>(dialog, "lstSeeds");
    QCOMPARE(list->rowCount(), 5);
    QStringList words;
    for (int row = 0; row < list->rowCount(); ++row)
        words << list->item(row, frmSeeds::WordsColumn)->text();
    QCOMPARE(words.mid(0, 3), (QStringList{"1", "2", "3"}));
    QVERIFY(words[3].startsWith(QLatin1String("unreadable")));
    QCOMPARE(words[4], "missing");
    // Only "two" takes part, with the file that is gone: each run is drawn from "two".
    for (int row : {0, 2, 3})
        list->item(row, frmSeeds::ActiveColumn)->setCheckState(Qt::Unchecked);
    list->selectRow(4);
    child<QPushButton>(dialog, "cmdRemove")->click();
    static_cast<QSpinBox*>(list->cellWidget(1, frmSeeds::WeightColumn))->setValue(9);
    child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(txtFile(w)->Text(), "blue ");
    action(w, "mnuInject")->trigger();
    QCOMPARE(txtFile(w)->Text(), "blue blue ");

    // Kept for the next start, vanished files with the rest.
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    QFile::remove(folder + "/one.txt");
    w = m_env->window();
    const SeedLibrary& kept = child<SeedLibraryCommands>(w)->library();
    QCOMPARE(kept.seeds.size(), 4);
    QCOMPARE(kept.seeds[1], (SeedLibrary::Seed{folder + "/two.txt", 9, true}));
    action(w, "mnuManageSeeds")->trigger();
    QCOMPARE(
        child<QTableWidget>(child<frmSeeds>(w), "lstSeeds")->item(0, frmSeeds::WordsColumn)->text(),
        "missing");
}

// A ticked seed that cannot be read is passed over, however heavy; with none readable the writer
// hears of it once, not at every prompt.
void tst_SeedPrompts::unreadableSeedsAreNeverDrawn()
{
    frmVellumo* w = m_env->window();
    writeTestFile(m_env->path("word.txt"), "word");
    SeedLibrary library;
    library.seeds = {{m_env->path("gone.txt"), 10, true}, {m_env->path("word.txt"), 1, true}};
    child<SeedLibraryCommands>(w)->setLibrary(library);
    seed(w)->chooseMix();
    for (int i = 0; i < 5; ++i)
        action(w, "mnuInject")->trigger();
    QCOMPARE(txtFile(w)->Text(), QString("word ").repeated(6));
    QVERIFY(m_env->messages.boxes.isEmpty());
    QFile::remove(m_env->path("word.txt"));
    for (int i = 0; i < 3; ++i)
        seed(w)->Timer1_Timer();
    QCOMPARE(txtFile(w)->Text(), QString("word ").repeated(6));
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QVERIFY(m_env->messages.boxes[0].prompt.startsWith(
        QLatin1String("Cannot read any of the active seed files: \"")));
}

void tst_SeedPrompts::recentSeedFilesAreOffered()
{
    frmVellumo* w = m_env->window();
    QVERIFY(!action(w, "mnuRecentSeed1")->isVisible());
    for (const char* name : {"first.txt", "second.txt"}) {
        writeTestFile(m_env->path(name), name);
        m_env->dialog.queueFileName(m_env->path(name));
        action(w, "mnuNewSeed")->trigger();
    }
    QCOMPARE(action(w, "mnuRecentSeed1")->text(), "&1 second.txt");
    QCOMPARE(action(w, "mnuRecentSeed2")->text(), "&2 first.txt");
    QVERIFY(!action(w, "mnuRecentSeed3")->isVisible());
    txtFile(w)->setTextRTF(QString());
    action(w, "mnuRecentSeed2")->trigger();
    QCOMPARE(txtFile(w)->Text(), "first.txt ");
    QCOMPARE(seed(w)->seedText(), "first.txt");
    QCOMPARE(action(w, "mnuRecentSeed1")->text(), "&1 first.txt");
    QVERIFY(!action(w, "mnuNewSeed")->isChecked());
}

void tst_SeedPrompts::pausePromptsOncePerPauseNeverWhileTyping()
{
    frmVellumo* w = m_env->window();
    RichTextBox* editor = txtFile(w);
    auto* pause = child<PausePrompter>(w);
    action(w, "mnuPause10Sec")->trigger();
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QVERIFY(!action(w, "mnuPause10Sec")->isChecked());

    loadWordSeed(w);
    editor->setTextRTF(QStringLiteral("ab"));
    editor->setSelStart(1);
    action(w, "mnuPause10Sec")->trigger();
    QVERIFY(action(w, "mnuPause10Sec")->isChecked());
    // A key every second for a minute: never a run.
    for (int second = 0; second < 60; ++second) {
        m_env->now += 1000;
        QTest::keyClick(editor, Qt::Key_X);
        pause->tmrPause_Timer();
    }
    QVERIFY(!editor->Text().contains(QLatin1String("word")));
    // Still for ten seconds: one run, at the caret.
    const qint64 caret = editor->SelStart();
    m_env->now += 9999;
    pause->tmrPause_Timer();
    QVERIFY(!editor->Text().contains(QLatin1String("word")));
    m_env->now += 1;
    pause->tmrPause_Timer();
    QCOMPARE(editor->Text().mid(caret, 5), "word ");
    // Still for longer: no more, until the writer types again.
    m_env->now += 60000;
    pause->tmrPause_Timer();
    QCOMPARE(editor->Text().count(QLatin1String("word")), 1);
    QTest::keyClick(editor, Qt::Key_Y);
    m_env->now += 10000;
    pause->tmrPause_Timer();
    QCOMPARE(editor->Text().count(QLatin1String("word")), 2);
}

void tst_SeedPrompts::pauseAndTimerExcludeEachOther()
{
    frmVellumo* w = m_env->window();
    loadWordSeed(w);
    auto* pause = child<PausePrompter>(w);
    action(w, "mnu20Sec")->trigger();
    QVERIFY(Timer1(w)->isActive());
    action(w, "mnuPause30Sec")->trigger();
    QVERIFY(action(w, "mnuPause30Sec")->isChecked());
    QVERIFY(!action(w, "mnu20Sec")->isChecked());
    QVERIFY(!Timer1(w)->isActive());
    QVERIFY(pause->tmrPause()->isActive());
    action(w, "mnu10Sec")->trigger();
    QVERIFY(!action(w, "mnuPause30Sec")->isChecked());
    QVERIFY(!pause->tmrPause()->isActive());
    action(w, "mnuPause60Sec")->trigger();
    action(w, "mnu0Sec")->trigger();
    QVERIFY(!action(w, "mnuPause60Sec")->isChecked());
    QVERIFY(!pause->tmrPause()->isActive());
    QVERIFY(!Timer1(w)->isActive());
    const QString before = txtFile(w)->Text();
    m_env->now += 120000;
    pause->tmrPause_Timer();
    QCOMPARE(txtFile(w)->Text(), before);
}

QTEST_MAIN(tst_SeedPrompts)
#include "tst_seedprompts.moc"
