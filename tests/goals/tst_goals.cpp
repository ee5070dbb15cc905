#include "app/frmVellumo.h"
#include "dialogs/DayChart.h"
#include "dialogs/frmGoals.h"
#include "dialogs/frmStatistics.h"
#include "documents/WordCount.h"
#include "formats/AtomicFile.h"
#include "goals/WritingGoals.h"
#include "goals/WritingTally.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QMimeData>
#include <QProgressBar>
#include <QSaveFile>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

class tst_goals : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void countsOnlyTheWritersWords();
    void undoTakesBackOnlyWhatItUndoes_data();
    void undoTakesBackOnlyWhatItUndoes();
    void countsTimeBetweenCloseEdits();
    void twoInstancesKeepEachOthersWords();
    void failedWriteKeepsTheOldFile();
    void streak_data();
    void streak();
    void streakFollowsTheCalendar();
    void goalsAreSetAndRemembered();
    void chartShowsEveryDayWithWords();
    void seedWordsAreCountedPerDay();

private:
    WritingHistory history() const
    {
        return WritingHistory(WritingHistory::fileIn(m_env->path(QStringLiteral("data"))));
    }

    std::unique_ptr<TestEnvironment> m_env;
};

namespace {

WritingTally& tallyOf(frmVellumo* window)
{
    return *child<WritingTally>(window);
}

void type(frmVellumo* window, const QString& text)
{
    QTest::keyClicks(child<RichTextBox>(window, "txtFile"), text);
}

// A place inside a word of the seed run written at [start, start + length).
int insideSeedWord(const RichTextBox& editor, qint64 start, qint64 length)
{
    const QString text = editor.Text();
    for (qint64 at = start + 1; at < start + length; ++at)
        if (text[at - 1].isLetter() && text[at].isLetter())
            return int(at);
    return -1;
}

} // namespace

void tst_goals::countsOnlyTheWritersWords()
{
    frmVellumo* window = m_env->window();
    auto* editor = child<RichTextBox>(window, "txtFile");
    QSignalSpy injected(child<SeedPrompter>(window), &SeedPrompter::injected);
    action(window, "mnuSeedOne")->trigger();
    QCOMPARE(injected.size(), 1);
    QCOMPARE(tallyOf(window).today().words, 0);

    editor->moveCursor(QTextCursor::End);
    type(window, QStringLiteral(" one two three "));
    QCOMPARE(tallyOf(window).today().words, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("four five six "));
    action(window, "mnuPaste")->trigger();
    QCOMPARE(tallyOf(window).today().words, 3);
    // Nor is text dropped from another program.
    QMimeData dropped;
    dropped.setText(QStringLiteral("seven eight "));
    const QPoint at = editor->cursorRect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &drop);
    QVERIFY(editor->Text().contains(QStringLiteral("seven eight")));
    QCOMPARE(tallyOf(window).today().words, 3);

    // A seed word the writer types into is the writer's.
    const int inside =
        insideSeedWord(*editor, injected[0][0].toLongLong(), injected[0][1].toLongLong());
    QVERIFY(inside > 0);
    editor->setSelStart(inside);
    type(window, QStringLiteral("x"));
    QCOMPARE(tallyOf(window).today().words, 4);

    // Deleting the writer's own word takes it back.
    editor->setSelStart(editor->Text().indexOf(QStringLiteral(" one ")) + 1);
    editor->setSelLength(3);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(tallyOf(window).today().words, 3);
    QCOMPARE(tallyOf(window).sessionWords(), 3);
    QCOMPARE(child<QLabel>(window, "lblGoal")->text(), QStringLiteral("3 of 1,000 words today"));
    QCOMPARE(child<QProgressBar>(window, "prgGoal")->value(), 3);
}

void tst_goals::undoTakesBackOnlyWhatItUndoes_data()
{
    QTest::addColumn<bool>("historyKept");
    QTest::newRow("Undo walks the editor's history") << true;
    QTest::newRow("Undo reads the recorded state again") << false;
}

void tst_goals::undoTakesBackOnlyWhatItUndoes()
{
    QFETCH(bool, historyKept);
    frmVellumo* window = m_env->window();
    auto* editor = child<RichTextBox>(window, "txtFile");
    const auto undo = [&] {
        if (!historyKept)
            editor->document()->clearUndoRedoStacks();
        action(window, "mnuUndo")->trigger();
        return tallyOf(window).today().words;
    };
    type(window, QStringLiteral("one two t"));
    QCOMPARE(tallyOf(window).today().words, 3);
    QCOMPARE(undo(), 2);
    QCOMPARE(undo(), 3);

    // Deleting words the writer did not write took back none of theirs: undoing it gives none.
    action(window, "mnuNew")->trigger();
    QGuiApplication::clipboard()->setText(QStringLiteral("four five six seven"));
    action(window, "mnuPaste")->trigger();
    editor->selectAll();
    action(window, "mnuDelete")->trigger();
    QCOMPARE(editor->Text(), QString());
    QCOMPARE(tallyOf(window).today().words, 3);
    QCOMPARE(undo(), 3);
    QCOMPARE(tallyOf(window).sessionWords(), 3);
}

void tst_goals::countsTimeBetweenCloseEdits()
{
    frmVellumo* window = m_env->window();
    type(window, QStringLiteral("a"));
    m_env->now += 30000;
    type(window, QStringLiteral("b"));
    m_env->now += WritingTally::pauseMs + 1;
    type(window, QStringLiteral("c"));
    QCOMPARE(tallyOf(window).today().milliseconds, 30000);
}

void tst_goals::twoInstancesKeepEachOthersWords()
{
    const QDate day(2026, 12, 8);
    WritingHistory first = history();
    WritingHistory second = history();
    QString error;
    first.add(day, 100, 90000);
    first.addSeed(day, 12, 4, 1);
    second.add(day, 50, 60000);
    second.addSeed(day, 3, 0, 2);
    second.add(day.addDays(-1), 7, 0);
    QVERIFY2(first.store(&error), qPrintable(error));
    QVERIFY2(second.store(&error), qPrintable(error));
    first.add(day, 10, 30000);
    QVERIFY2(first.store(&error), qPrintable(error));

    const WritingHistory::Days days = history().days();
    QCOMPARE(days.value(day), (WritingHistory::Day{160, 3 * 60000, 15, 4, 3}));
    QCOMPARE(days.value(day.addDays(-1)), (WritingHistory::Day{7, 0}));
    QFile file(WritingHistory::fileIn(m_env->path(QStringLiteral("data"))));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("2026-12-07 7 words 0 minutes\n"
                                        "2026-12-08 160 words 3 minutes\n"
                                        "2026-12-08 seed 15 written 4 reworked 3 deleted\n"));
}

// The writer stops half way, as a killed program would: the file is the old one, whole, and
// what was not stored is stored by the next attempt.
void tst_goals::failedWriteKeepsTheOldFile()
{
    const QDate day(2026, 12, 8);
    const QString path = WritingHistory::fileIn(m_env->path(QStringLiteral("data")));
    QString error;
    WritingHistory before = history();
    before.add(day, 5, 0);
    QVERIFY(before.store(&error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();

    bool crash = true;
    WritingHistory crashing(path, [&](const QString& to, const QByteArray& bytes, QString* why) {
        if (!crash)
            return AtomicFile::write(to, {bytes}, why);
        QSaveFile torn(to);
        torn.open(QIODevice::WriteOnly);
        torn.write(bytes.left(bytes.size() / 2));
        *why = QStringLiteral("killed");
        return false;
    });
    crashing.add(day, 20, 0);
    QVERIFY(!crashing.store(&error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    file.close();
    crash = false;
    QVERIFY(crashing.store(&error));
    QCOMPARE(history().day(day).words, 25);
}

void tst_goals::streak_data()
{
    QTest::addColumn<QList<qint64>>("words");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("longest");
    // Words per day, the last one today, against a goal of 100.
    QTest::newRow("nominal: three days up to today")
        << QList<qint64>{0, 100, 120, 100} << 100 << 3 << 3;
    QTest::newRow("nominal: today not yet kept") << QList<qint64>{100, 100, 20} << 100 << 2 << 2;
    QTest::newRow("nominal: a part of the goal") << QList<qint64>{50, 60, 49} << 50 << 2 << 2;
    QTest::newRow("robustness: a gap breaks it")
        << QList<qint64>{100, 100, 100, 0, 0, 100} << 100 << 1 << 3;
    QTest::newRow("robustness: nothing since the day before yesterday")
        << QList<qint64>{100, 100, 0, 0} << 100 << 0 << 2;
}

void tst_goals::streak()
{
    QFETCH(QList<qint64>, words);
    QFETCH(int, percent);
    const QDate today(2026, 12, 8);
    WritingHistory::Days days;
    for (qsizetype at = 0; at < words.size(); ++at)
        if (words[at])
            days[today.addDays(at + 1 - words.size())] = {words[at], 0};
    WritingGoals goals;
    goals.daily = 100;
    goals.streakPercent = percent;
    const WritingGoals::Streak streak = goals.streak(days, today);
    QTEST(streak.current, "current");
    QTEST(streak.longest, "longest");
}

// Words typed on three days in a row make a streak of three; the words go to the day they were
// typed on.
void tst_goals::streakFollowsTheCalendar()
{
    frmVellumo* window = m_env->window();
    for (int day = 0; day < 3; ++day) {
        type(window, QStringLiteral("two words "));
        m_env->today = m_env->today.addDays(1);
    }
    m_env->today = m_env->today.addDays(-1);
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    const WritingHistory::Days days = history().days();
    QCOMPARE(days.size(), 3);
    QCOMPARE(days.first().words, 2);
    WritingGoals goals;
    goals.daily = 2;
    QCOMPARE(goals.streak(days, m_env->today).current, 3);
}

void tst_goals::goalsAreSetAndRemembered()
{
    frmVellumo* window = m_env->window();
    action(window, "mnuGoals")->trigger();
    auto* goals = child<frmGoals>(window);
    child<QSpinBox>(goals, "txtDaily")->setValue(500);
    child<QSpinBox>(goals, "txtSession")->setValue(200);
    goals->accept();
    type(window, QStringLiteral("one "));
    QCOMPARE(child<QLabel>(window, "lblGoal")->text(),
             QStringLiteral("1 of 500 words today; session 1 of 200"));
    action(window, "mnuStatistics")->trigger();
    QVERIFY(child<QLabel>(child<frmStatistics>(window), "lblWritten")
                ->text()
                .startsWith(QStringLiteral("Today: 1 word in 0 minutes. This week: 1 word.")));
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    QCOMPARE(WritingGoals::load(
                 *std::make_unique<QSettings>(m_env->settingsFile(), QSettings::IniFormat))
                 .daily,
             500);
}

// A few words against a large goal still make a bar, and the goal's line says what it is.
void tst_goals::chartShowsEveryDayWithWords()
{
    DayChart chart;
    chart.resize(300, 140);
    chart.setDays({0, 0, 12}, 5000);
    const QImage image = chart.grab().toImage();
    const QColor today = chart.palette().color(QPalette::Highlight);
    const int paper = qGray(chart.palette().color(QPalette::Window).rgb());
    int todayRows = 0;
    int inkedRows = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool todayHere = false;
        bool inked = false;
        for (int x = image.width() * 2 / 3; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            todayHere |= pixel == today;
            inked |= pixel != today && qGray(pixel.rgb()) < paper - 80;
        }
        todayRows += todayHere;
        inkedRows += inked;
    }
    QVERIFY2(todayRows >= 3, qPrintable(QString::number(todayRows)));
    // The line takes one row, its name several.
    QVERIFY2(inkedRows >= 5, qPrintable(QString::number(inkedRows)));
}

// Written one day and reworked the next; the writer's goal counts none of it.
void tst_goals::seedWordsAreCountedPerDay()
{
    frmVellumo* window = m_env->window();
    auto* editor = child<RichTextBox>(window, "txtFile");
    QSignalSpy injected(child<SeedPrompter>(window), &SeedPrompter::injected);
    action(window, "mnuSeedOne")->trigger();
    const qint64 start = injected[0][0].toLongLong();
    const qint64 length = injected[0][1].toLongLong();
    const qint64 words = WordCount::of(editor->Text().mid(start, length)).words;
    m_env->today = m_env->today.addDays(1);
    editor->setSelStart(start);
    editor->setSelLength(length);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(tallyOf(window).today().words, 0);

    action(window, "mnuStatistics")->trigger();
    const auto* table = child<QTableWidget>(child<frmStatistics>(window), "lstSeedDays");
    QCOMPARE(table->rowCount(), 2);
    const auto row = [table](int row) {
        QStringList cells;
        for (int column = frmStatistics::WrittenColumn; column <= frmStatistics::DeletedColumn;
             ++column)
            cells << table->item(row, column)->text();
        return cells.join(u' ');
    };
    QCOMPARE(row(0), QStringLiteral("0 0 0 %1").arg(words));
    QCOMPARE(row(1), QStringLiteral("%1 %1 0 0").arg(words));
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    QCOMPARE(history().day(m_env->today).seedDeleted, words);
}

QTEST_MAIN(tst_goals)
#include "tst_goals.moc"
