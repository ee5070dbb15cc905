#include "FileSystemFaults.h"
#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "documents/Recovery.h"
#include "documents/RecoveryStore.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <memory>

using Button = MessageService::Button;
using Copy = RecoveryStore::Copy;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const Copy& copy)
{
    return RecoveryStore::header(copy) + copy.rtf;
}

QByteArray rtfWith(const QByteArray& text)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\\f0\\fs18 " + text + "\\par}";
}

} // namespace

/// Recovery copies of unsaved documents: written while the program runs, offered after a crash.
class tst_Recovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copyRoundTrip_data();
    void copyRoundTrip();
    void damagedCopyIsRejected_data();
    void damagedCopyIsRejected();
    void firstVersionCopyIsRead();
    void failedWriteKeepsPreviousCopy();
    void instancesKeepTheirCopies();
    void killedInstanceLeavesItsCopies_data();
    void killedInstanceLeavesItsCopies();

    void copyAppearsAfterTyping();
    void steadyTypingStillGetsACopy();
    void copiesAreForTheUserOnly();
    void losingTheFocusWritesCopies();
    void copyGoesOnSave();
    void copyGoesWhenDiscardedAtExit();
    void cleanExitLeavesNothing();
    void fullDiskIsToldOnceAndRetried();
    void unusableFolderIsToldAndRetried_data();
    void unusableFolderIsToldAndRetried();

    void restoreBringsBackContentAndNames();
    void restoredUntitled1TakesTheStartupPlace();
    void copyThatMissedChangesIsOfferedAsStale();
    void restoredCopyStaysUntilRewritten();
    void orphansAreOfferedOnceTheLockIsTaken();
    void discardDeletesCopies();
    void damagedCopyIsSkippedWithANote();
    void secondWindowLeavesRunningCopies();
    void listFollowsTheStore_data();
    void listFollowsTheStore();

private:
    QString folder() const { return RecoveryStore::folderFor(m_env->path(QStringLiteral("data"))); }
    QStringList copies() const;
    /// A window that ends without a clean exit, as in a crash: its copies stay behind.
    std::unique_ptr<frmVellumo> openUnclosed();
    static void type(frmVellumo* window, const QString& text);
    static void rest(frmVellumo* window);
    static void retry(frmVellumo* window);
    /// The folder's one copy; an empty one unless there is exactly one that reads.
    Copy onlyCopy() const;
    void checkToldOnce() const;

    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Recovery::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void tst_Recovery::cleanup()
{
    m_env.reset();
}

QStringList tst_Recovery::copies() const
{
    return QDir(folder()).entryList({QStringLiteral("*.recovery")}, QDir::Files);
}

std::unique_ptr<frmVellumo> tst_Recovery::openUnclosed()
{
    auto window = std::make_unique<frmVellumo>(m_env->services());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

void tst_Recovery::type(frmVellumo* window, const QString& text)
{
    txtFile(window)->setFocus();
    QTest::keyClicks(txtFile(window), text);
}

// The rest period ends: the timer must be waiting, and no longer than the promised delay.
void tst_Recovery::rest(frmVellumo* window)
{
    QTimer* timer = recovery(window)->tmrRecovery();
    QVERIFY(timer->isActive());
    QVERIFY(timer->interval() <= 5000);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

// Copies that could not be written are tried again without waiting for another change.
void tst_Recovery::retry(frmVellumo* window)
{
    QTimer* timer = recovery(window)->tmrRecovery();
    QVERIFY(timer->isActive());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

Copy tst_Recovery::onlyCopy() const
{
    const QStringList names = copies();
    if (names.size() != 1)
        return {};
    return RecoveryStore::decode(readAll(QDir(folder()).filePath(names[0]))).value_or(Copy{});
}

// The writer learns what failed and where, in the program's own box.
void tst_Recovery::checkToldOnce() const
{
    QCOMPARE(m_env->messages.boxes.size(), 1);
    const RecordingMessageService::Box& box = m_env->messages.boxes[0];
    QCOMPARE(box.title, QStringLiteral("Quillmere"));
    QCOMPARE(box.icon, MessageService::Icon::Warning);
    QVERIFY2(box.prompt.contains(QDir::toNativeSeparators(folder())), qPrintable(box.prompt));
}

void tst_Recovery::copyRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFilePath");
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("nominal: untitled") << "Untitled7" << false << rtfWith("draft");
    QTest::newRow("nominal: file path with spaces and accents")
        << QString::fromUtf8("/home/zoë/my letters/report.doc") << true << rtfWith("letter");
    QTest::newRow("robustness: name with a line break and a percent")
        << "/tmp/odd\nname 100%.doc" << true << rtfWith("x");
    QTest::newRow("robustness: emptied document") << "/tmp/a.doc" << true << QByteArray();
    QTest::newRow("robustness: content with blank lines")
        << "Untitled2" << false << QByteArray("{\\rtf1\n\n\n\\par}\n\n");
}

void tst_Recovery::copyRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(bool, isFilePath);
    QFETCH(QByteArray, rtf);
    const auto copy = RecoveryStore::decode(encoded({3, name, isFilePath, rtf}));
    QVERIFY(copy);
    QCOMPARE(copy->index, 3);
    QCOMPARE(copy->name, name);
    QCOMPARE(copy->isFilePath, isFilePath);
    QCOMPARE(copy->rtf, rtf);
}

void tst_Recovery::damagedCopyIsRejected_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = encoded({0, QStringLiteral("Untitled1"), false, rtfWith("words")});
    QByteArray flipped = good;
    flipped[flipped.size() - 5] = 'Q';
    QTest::newRow("robustness: empty file") << QByteArray();
    QTest::newRow("robustness: cut short by a power cut") << good.chopped(4);
    QTest::newRow("robustness: header only") << good.left(good.indexOf("\n\n") + 2);
    QTest::newRow("robustness: one byte changed") << flipped;
    QTest::newRow("robustness: bytes added") << good + "}";
    QTest::newRow("robustness: not a copy") << rtfWith("plain file");
    QTest::newRow("robustness: unknown version")
        << QByteArray(good).replace("recovery 2", "recovery 9");
    QTest::newRow("robustness: negative index") << QByteArray(good).replace("index 0", "index -1");
    QTest::newRow("robustness: empty name") << QByteArray(good).replace("name Untitled1", "name ");
}

void tst_Recovery::damagedCopyIsRejected()
{
    QFETCH(QByteArray, data);
    QVERIFY(!RecoveryStore::decode(data));
}

// A copy left by a crash of the version before is still offered.
void tst_Recovery::firstVersionCopyIsRead()
{
    const Copy copy{0, QStringLiteral("Untitled1"), false, rtfWith("older")};
    const auto back = RecoveryStore::decode(
        encoded(copy).replace("Quillmere recovery 2\nstale 0\n", "Quillmere recovery 1\n"));
    QVERIFY(back);
    QCOMPARE(back->rtf, copy.rtf);
    QVERIFY(!back->stale);
}

void tst_Recovery::failedWriteKeepsPreviousCopy()
{
    RecoveryStore store(folder());
    QVERIFY(store.open());
    const Copy small{0, QStringLiteral("Untitled1"), false, rtfWith("kept")};
    QVERIFY(store.write(small));
    const QString path = QDir(folder()).filePath(copies().value(0));
    {
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        faults.limitFileSize(4096);
        QVERIFY(!store.write({0, small.name, false, rtfWith(QByteArray(64 * 1024, 'x'))}));
    }
    QCOMPARE(copies().size(), 1);
    const auto back = RecoveryStore::decode(readAll(path));
    QVERIFY(back);
    QCOMPARE(back->rtf, small.rtf);
    QVERIFY(back->stale);
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("tmp")),
             QStringList());
}

void tst_Recovery::instancesKeepTheirCopies()
{
    auto first = std::make_unique<RecoveryStore>(folder());
    QVERIFY(first->open());
    // By file name, copy 10 comes before copy 2; the list order must not.
    QVERIFY(first->write({10, QStringLiteral("/tmp/b.doc"), true, rtfWith("eleven")}));
    QVERIFY(first->write({2, QStringLiteral("Untitled1"), false, rtfWith("three")}));

    RecoveryStore second(folder());
    QVERIFY(second.open());
    QCOMPARE(second.claimOrphans().copies.size(), 0);
    second.dropClaimed();
    QCOMPARE(copies().size(), 2);

    // Ending without removing its copies is what a crash looks like from here.
    first.reset();
    const RecoveryStore::Orphans orphans = second.claimOrphans();
    QCOMPARE(orphans.copies.size(), 2);
    QCOMPARE(orphans.copies[0].index, 2);
    QCOMPARE(orphans.copies[1].index, 10);
    QCOMPARE(orphans.copies[1].name, QStringLiteral("/tmp/b.doc"));
    QVERIFY(orphans.copies[1].isFilePath);

    RecoveryStore third(folder());
    QVERIFY(third.open());
    QCOMPARE(third.claimOrphans().copies.size(), 0); // claimed by the second already
    second.dropClaimed();
    QCOMPARE(copies(), QStringList());
    QCOMPARE(QDir(folder()).entryList(QDir::Files).size(), 2); // the two live locks
}

void tst_Recovery::killedInstanceLeavesItsCopies_data()
{
    // A finished process's id stands for an instance killed with its lock file in place.
    QProcess dead;
    dead.start(QStringLiteral("true"));
    QVERIFY(dead.waitForStarted());
    const qint64 pid = dead.processId(); // reads 0 once the process has ended
    QVERIFY(dead.waitForFinished());
    QTest::addColumn<QByteArray>("lockContent");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("claimed");
    const QByteArray deadLock =
        QByteArray::number(pid) + "\nquillmere\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    QTest::newRow("nominal: killed, its lock file left behind") << deadLock << 0 << true;
    QTest::newRow("robustness: lock file emptied by a power cut") << QByteArray() << 3600 << true;
    QTest::newRow("robustness: garbled lock file") << QByteArray("\x01\x02garbage") << 3600 << true;
    QTest::newRow("robustness: empty lock of an instance starting now")
        << QByteArray() << 0 << false;
    QTest::newRow("robustness: empty lock 30 s old, its instance still starting")
        << QByteArray() << 30 << false;
}

void tst_Recovery::killedInstanceLeavesItsCopies()
{
    QFETCH(QByteArray, lockContent);
    QFETCH(int, ageSeconds);
    QFETCH(bool, claimed);
    const QString owner = QStringLiteral("0b7e1d2c-0000-4000-8000-00000000dead");
    QDir().mkpath(folder());
    QFile lock(QDir(folder()).filePath(owner + QStringLiteral(".lock")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(lockContent);
    QVERIFY(lock.flush());
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
    lock.close();
    QFile copy(QDir(folder()).filePath(owner + QStringLiteral("-0.recovery")));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write(encoded({0, QStringLiteral("Untitled1"), false, rtfWith("saved by the copy")}));
    copy.close();

    RecoveryStore store(folder());
    QVERIFY(store.open());
    QCOMPARE(store.claimOrphans().copies.size(), claimed ? 1 : 0);
    store.dropClaimed();
    QCOMPARE(lock.exists(), !claimed);
    QCOMPARE(copy.exists(), !claimed);
}

void tst_Recovery::copyAppearsAfterTyping()
{
    frmVellumo* w = m_env->window();
    QVERIFY(!recovery(w)->tmrRecovery()->isActive());
    type(w, QStringLiteral("lost hour"));
    QCOMPARE(copies(), QStringList());
    rest(w);
    QCOMPARE(copies().size(), 1);
    const auto copy = RecoveryStore::decode(readAll(QDir(folder()).filePath(copies()[0])));
    QVERIFY(copy);
    QCOMPARE(copy->name, QStringLiteral("Untitled1"));
    QVERIFY(!copy->isFilePath);
    QCOMPARE(copy->rtf, txtFile(w)->rtfData());
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

// Each key restarts the rest period, yet a writer who never pauses gets a copy in time.
void tst_Recovery::steadyTypingStillGetsACopy()
{
    frmVellumo* w = m_env->window();
    QTimer* timer = recovery(w)->tmrRecovery();
    qint64 due = -1;
    for (m_env->now = 0; copies().isEmpty(); m_env->now += 250) {
        QVERIFY2(m_env->now <= Recovery::longestWaitMs, "no copy within the longest wait");
        if (due >= 0 && m_env->now >= due) {
            QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
            continue;
        }
        type(w, QStringLiteral("k"));
        due = m_env->now + timer->interval();
    }
}

// Unsaved text is private; a folder an older version made open to all is tightened.
void tst_Recovery::copiesAreForTheUserOnly()
{
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QFile::setPermissions(folder(), QFile::permissions(folder()) | QFile::ReadGroup |
                                                QFile::ExeGroup | QFile::ReadOther |
                                                QFile::ExeOther));
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("private words"));
    rest(w);

    QCOMPARE(copies().size(), 1);
    QCOMPARE(QFile::permissions(folder()) & others, QFile::Permissions());
    QCOMPARE(QFile::permissions(QDir(folder()).filePath(copies()[0])) & others,
             QFile::Permissions());
}

void tst_Recovery::losingTheFocusWritesCopies()
{
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("switching away"));
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    QCOMPARE(copies().size(), 1);
    QVERIFY(!recovery(w)->tmrRecovery()->isActive());
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

void tst_Recovery::copyGoesOnSave()
{
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("keep me"));
    rest(w);
    QCOMPARE(copies().size(), 1);
    m_env->dialog.queueFileName(m_env->path(QStringLiteral("kept.doc")));
    action(w, "mnuSave")->trigger();
    QCOMPARE(copies(), QStringList());

    // Changed again after the save: a copy under the file's name.
    type(w, QStringLiteral(" more"));
    rest(w);
    QCOMPARE(copies().size(), 1);
    const auto copy = RecoveryStore::decode(readAll(QDir(folder()).filePath(copies()[0])));
    QVERIFY(copy);
    QCOMPARE(copy->name, m_env->path(QStringLiteral("kept.doc")));
    QVERIFY(copy->isFilePath);
    action(w, "mnuSave")->trigger();
    QCOMPARE(copies(), QStringList());
}

void tst_Recovery::copyGoesWhenDiscardedAtExit()
{
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("first"));
    action(w, "mnuNew")->trigger();
    type(w, QStringLiteral("second"));
    rest(w);
    QCOMPARE(copies().size(), 2);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->messages.queueAnswer(Button::Cancel);
    w->close();
    QVERIFY(w->isVisible());
    QCOMPARE(copies().size(), 2); // the exit was cancelled: both are still unsaved
    m_env->messages.queueAnswer(Button::Discard);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
    QCOMPARE(copies(), QStringList());
}

void tst_Recovery::cleanExitLeavesNothing()
{
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("saved at exit"));
    action(w, "mnuNew")->trigger();
    type(w, QStringLiteral("thrown away"));
    rest(w);
    QCOMPARE(copies().size(), 2);
    m_env->messages.queueAnswer(Button::Save);
    m_env->dialog.queueFileName(m_env->path(QStringLiteral("exit.doc")));
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Told once however often it fails, tried again without another key, and told when it works.
void tst_Recovery::fullDiskIsToldOnceAndRetried()
{
    frmVellumo* w = m_env->window();
    type(w, QStringLiteral("before the disk filled"));
    rest(w);
    const QByteArray before = onlyCopy().rtf;
    {
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        faults.limitFileSize(4096);
        txtFile(w)->insertPlainText(QString(5000, QLatin1Char('z')));
        rest(w);
        type(w, QStringLiteral("!"));
        rest(w);
    }
    checkToldOnce();
    QCOMPARE(onlyCopy().rtf, before);
    QVERIFY(onlyCopy().stale);
    // With room again the copy is written though the writer has not typed since.
    retry(w);
    QCOMPARE(onlyCopy().rtf, txtFile(w)->rtfData());
    QVERIFY(!onlyCopy().stale);
    QCOMPARE(m_env->messages.boxes.size(), 2);
    QCOMPARE(m_env->messages.boxes[1].icon, MessageService::Icon::Information);
    QVERIFY(!recovery(w)->tmrRecovery()->isActive());
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

void tst_Recovery::unusableFolderIsToldAndRetried_data()
{
    QTest::addColumn<bool>("fileInItsPlace");
    QTest::newRow("robustness: a file in the folder's place") << true;
    QTest::newRow("robustness: no room for the lock at start-up") << false;
}

// Recovery is never off for the whole run: the folder is tried again until it can be used.
void tst_Recovery::unusableFolderIsToldAndRetried()
{
    QFETCH(bool, fileInItsPlace);
    frmVellumo* w = nullptr;
    {
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        QFile file(folder());
        if (fileInItsPlace) {
            QVERIFY(QDir().mkpath(QFileInfo(folder()).path()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
        } else {
            faults.limitFileSize(0);
        }
        w = m_env->window();
        type(w, QStringLiteral("nowhere to keep this yet"));
        rest(w);
        if (fileInItsPlace)
            QVERIFY(file.remove());
    }
    checkToldOnce();
    retry(w);
    QCOMPARE(onlyCopy().rtf, txtFile(w)->rtfData());
    QCOMPARE(m_env->messages.boxes.size(), 2);
    QCOMPARE(m_env->messages.boxes[1].icon, MessageService::Icon::Information);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

// Untitled documents come back under their own names, the first in the place of the unused
// start-up document, and later ones count on from the highest number.
void tst_Recovery::restoreBringsBackContentAndNames()
{
    const QString file = m_env->path(QStringLiteral("letter.md"));
    QByteArray untitledContent;
    QByteArray fileContent;
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        action(crashed.get(), "mnuNew")->trigger();
        action(crashed.get(), "mnuNew")->trigger();
        type(crashed.get(), QStringLiteral("an untitled draft"));
        txtFile(crashed.get())->selectAll();
        action(crashed.get(), "mnuBold")->trigger();
        untitledContent = txtFile(crashed.get())->rtfData();
        action(crashed.get(), "mnuNew")->trigger();
        type(crashed.get(), QStringLiteral("a letter"));
        m_env->dialog.queueFileName(file);
        action(crashed.get(), "mnuSave")->trigger();
        type(crashed.get(), QStringLiteral(" with more"));
        fileContent = txtFile(crashed.get())->rtfData();
        action(crashed.get(), "mnuNew")->trigger(); // an empty document has nothing to keep
        rest(crashed.get());
        QCOMPARE(copies().size(), 2);
    }

    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 1);
    const auto& question = m_env->messages.questions[0];
    QCOMPARE(question.prompt,
             QStringLiteral("Quillmere closed unexpectedly. Restore 2 unsaved documents?"));
    QCOMPARE(question.buttons, (QList<Button>{Button::Restore, Button::Discard}));
    QCOMPARE(question.defaultButton, Button::Restore);

    QComboBox* list = cmbFiles(w);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("Untitled3"));
    QCOMPARE(list->itemText(1), file);
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(w->windowTitle(), QStringLiteral("Untitled3 - Quillmere v1.0.1"));
    QCOMPARE(txtFile(w)->rtfData(), untitledContent);
    QCOMPARE(documents(w)->store().docRTF(1), fileContent);
    QVERIFY(documents(w)->isModified(0));
    QVERIFY(documents(w)->isModified(1));
    // Save writes the file back in its own format, not in the copy's.
    QCOMPARE(documents(w)->store().at(1).format().name, QStringLiteral("Markdown"));

    // The restored text is kept under this run's name at once; the dead run's copies are gone.
    QCOMPARE(copies().size(), 2);

    action(w, "mnuNew")->trigger();
    QCOMPARE(list->itemText(2), QStringLiteral("Untitled4"));

    // The exit question covers both restored documents.
    m_env->messages.queueAnswer(Button::Discard);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
    QCOMPARE(m_env->messages.questions.size(), 3);
    QVERIFY(m_env->messages.questions[2].prompt.contains(file));
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
}

// The unused start-up document gives up its name with its place.
void tst_Recovery::restoredUntitled1TakesTheStartupPlace()
{
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("the only draft"));
        rest(crashed.get());
    }
    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = m_env->window();
    QCOMPARE(cmbFiles(w)->count(), 1);
    QCOMPARE(cmbFiles(w)->itemText(0), QStringLiteral("Untitled1"));
    QCOMPARE(w->windowTitle(), DocumentList::captionFor(QStringLiteral("Untitled1")));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("the only draft"));
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

// A copy that a later write failed to replace is offered as what it is: older than the text.
void tst_Recovery::copyThatMissedChangesIsOfferedAsStale()
{
    QByteArray copied;
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("kept by the copy"));
        rest(crashed.get());
        copied = txtFile(crashed.get())->rtfData();
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        faults.limitFileSize(4096);
        txtFile(crashed.get())->insertPlainText(QString(5000, QLatin1Char('z')));
        rest(crashed.get());
    }
    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 1);
    QCOMPARE(m_env->messages.questions[0].prompt,
             QStringLiteral("Quillmere closed unexpectedly. Restore 1 unsaved document?\n\nThe "
                            "copy of Untitled1 misses its last changes, which could not be "
                            "written."));
    QCOMPARE(txtFile(w)->rtfData(), copied);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

// The dead run's copy goes only once this run has written its own.
void tst_Recovery::restoredCopyStaysUntilRewritten()
{
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        txtFile(crashed.get())->insertPlainText(QString(5000, QLatin1Char('r')));
        rest(crashed.get());
    }
    const QStringList orphan = copies();
    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = nullptr;
    {
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        faults.limitFileSize(4096); // room for a lock, not for the copy
        w = m_env->window();
    }
    checkToldOnce();
    QCOMPARE(copies(), orphan);
    retry(w);
    QCOMPARE(copies().size(), 1);
    QVERIFY(copies() != orphan);
    QCOMPARE(onlyCopy().rtf, txtFile(w)->rtfData());
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

// Without its lock a starting run cannot claim what a dead one left; it offers it once it can.
void tst_Recovery::orphansAreOfferedOnceTheLockIsTaken()
{
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("left by the crash"));
        rest(crashed.get());
    }
    frmVellumo* w = nullptr;
    {
        FileSystemFaults faults(m_env->path(QStringLiteral("unused")));
        faults.limitFileSize(0);
        w = m_env->window();
    }
    QCOMPARE(m_env->messages.questions.size(), 0);
    m_env->messages.queueAnswer(Button::Restore);
    retry(w);
    QCOMPARE(m_env->messages.questions.size(), 1);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("left by the crash"));
    QCOMPARE(onlyCopy().rtf, txtFile(w)->rtfData());
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
}

void tst_Recovery::discardDeletesCopies()
{
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("not wanted"));
        rest(crashed.get());
    }
    m_env->messages.queueAnswer(Button::Discard);
    frmVellumo* w = m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 1);
    QCOMPARE(cmbFiles(w)->count(), 1);
    QCOMPARE(txtFile(w)->Text(), QString());
    QCOMPARE(copies(), QStringList());
    m_env->closeWindow();

    // Nothing is asked at the next start.
    m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 1);
}

void tst_Recovery::damagedCopyIsSkippedWithANote()
{
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("good"));
        action(crashed.get(), "mnuNew")->trigger();
        type(crashed.get(), QStringLiteral("damaged"));
        rest(crashed.get());
    }
    QCOMPARE(copies().size(), 2);
    const QString damaged = QDir(folder()).filePath(copies().filter(QStringLiteral("-1."))[0]);
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() - 10));
    file.close();

    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 1);
    const QString prompt = m_env->messages.questions[0].prompt;
    QCOMPARE(prompt, QStringLiteral("Quillmere closed unexpectedly. Restore 1 unsaved document?"
                                    "\n\n1 damaged recovery copy could not be read and is left "
                                    "out."));
    QCOMPARE(cmbFiles(w)->count(), 1);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("good"));
    // Kept aside for anyone who wants to dig, but never offered again.
    QVERIFY(QFile::exists(damaged + QStringLiteral(".unreadable")));
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
    m_env->window();
    QCOMPARE(m_env->messages.questions.size(), 2);
}

void tst_Recovery::secondWindowLeavesRunningCopies()
{
    frmVellumo* running = m_env->window();
    type(running, QStringLiteral("still being written"));
    rest(running);
    QCOMPARE(copies().size(), 1);

    // A second program in the same data folder: nothing to ask, nothing taken.
    auto second = openUnclosed();
    QVERIFY(second);
    QCOMPARE(m_env->messages.questions.size(), 0);
    QCOMPARE(cmbFiles(second.get())->count(), 1);
    QCOMPARE(copies().size(), 1);
    second.reset();
    QCOMPARE(copies().size(), 1);
    m_env->messages.queueAnswer(Button::Discard);
    m_env->closeWindow();
    QCOMPARE(copies(), QStringList());
}

void tst_Recovery::listFollowsTheStore_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("nominal: restore, New, Open, Save As") << "NOS";
    QTest::newRow("nominal: restore, Save As, Open, New") << "SON";
    QTest::newRow("nominal: restore, Open, Save As, New, Save As") << "OSNS";
}

// Whatever adds or renames a document, entry i of the list names the store's document i.
void tst_Recovery::listFollowsTheStore()
{
    QFETCH(QString, steps);
    {
        auto crashed = openUnclosed();
        QVERIFY(crashed);
        type(crashed.get(), QStringLiteral("kept"));
        rest(crashed.get());
    }
    const QString opened = m_env->path(QStringLiteral("opened.doc"));
    QFile file(opened);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rtfWith("opened"));
    file.close();
    m_env->messages.queueAnswer(Button::Restore);
    frmVellumo* w = m_env->window();

    int saved = 0;
    for (const QChar step : steps) {
        if (step == u'N') {
            action(w, "mnuNew")->trigger();
        } else if (step == u'O') {
            m_env->dialog.queueFileName(opened);
            action(w, "mnuOpen")->trigger();
        } else {
            m_env->dialog.queueFileName(m_env->path(QStringLiteral("saved%1.doc").arg(++saved)));
            action(w, "mnuSaveas")->trigger();
        }
        QCOMPARE(documentsDisagree(w), QString());
    }
}

QTEST_MAIN(tst_Recovery)
#include "tst_recovery.moc"
