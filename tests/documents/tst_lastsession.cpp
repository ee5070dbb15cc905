#include "FileSystemFaults.h"
#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "documents/RecoveryStore.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QScrollBar>
#include <QTest>

namespace {

QStringList entries(const QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

} // namespace

/// The files open at the last normal exit come back at the next start without file arguments.
class tst_LastSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_env.reset(); }

    void filesComeBackWhereTheWriterWas();
    void goneFileIsLeftOutAndTold();
    void fileArgumentsLeaveTheSessionClosed();
    void turnedOffNothingComesBack();
    void recoveredCopyTakesThePlaceOfItsFile();
    void fileArgumentRestoredIsShownNotReadAgain();
    void copyOfferedWhileItsFileIsReadWins();
    void lateCopyTakesThePlaceOfItsReopenedFile_data();
    void lateCopyTakesThePlaceOfItsReopenedFile();

private:
    /// A run started as from a command line with files, or none.
    frmVellumo* start(const QStringList& files = {});
    /// File > Exit, with nothing unsaved to ask about.
    void exit(frmVellumo* w);

    std::unique_ptr<TestEnvironment> m_env;
    QString m_long;
    QString m_short;
};

void tst_LastSession::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_long = m_env->path("long.rtf");
    m_short = m_env->path("short.md");
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int line = 1; line <= 300; ++line)
        rtf += "line " + QByteArray::number(line) + "\\par ";
    QFile file(m_long);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rtf + '}');
    file.close();
    QFile markdown(m_short);
    QVERIFY(markdown.open(QIODevice::WriteOnly));
    markdown.write("First *paragraph*.\n\nSecond one.\n");
}

frmVellumo* tst_LastSession::start(const QStringList& files)
{
    frmVellumo* w = m_env->window();
    w->resize(600, 400);
    w->openArguments(QStringList{"quillmere"} + files);
    return w;
}

void tst_LastSession::exit(frmVellumo* w)
{
    action(w, "mnuExit")->trigger();
    m_env->closeWindow();
}

// The current document is the first, so showing it again leaves the other where it was too.
void tst_LastSession::filesComeBackWhereTheWriterWas()
{
    frmVellumo* w = start({m_long, m_short});
    RichTextBox* editor = txtFile(w);
    documents(w)->selectEntry(1);
    editor->setSelStart(7);
    documents(w)->selectEntry(0);
    editor->setSelStart(editor->Text().indexOf("line 250"));
    editor->ensureCursorVisible();
    const TextPlace there = editor->place();
    QVERIFY(there.top > 0);
    exit(w);

    w = start();
    editor = txtFile(w);
    QCOMPARE(entries(cmbFiles(w)), (QStringList{m_long, m_short}));
    QCOMPARE(documents(w)->store().curDoc(), 0);
    QTRY_COMPARE(editor->place().top, there.top);
    QCOMPARE(editor->place().caret, there.caret);
    documents(w)->selectEntry(1);
    QCOMPARE(editor->SelStart(), 7);
    QVERIFY(editor->Text().startsWith("First paragraph."));
    QVERIFY(m_env->messages.boxes.isEmpty());
}

// A writer who finds a file missing from the session learns why, in one box for all of them.
void tst_LastSession::goneFileIsLeftOutAndTold()
{
    const QString gone = m_env->path("gone.rtf");
    QVERIFY(QFile::copy(m_long, gone));
    exit(start({gone, m_short}));
    QVERIFY(QFile::remove(gone));

    frmVellumo* w = start();
    QCOMPARE(entries(cmbFiles(w)), QStringList{m_short});
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QVERIFY2(m_env->messages.boxes[0].prompt.contains("gone.rtf"),
             qPrintable(m_env->messages.boxes[0].prompt));
}

void tst_LastSession::fileArgumentsLeaveTheSessionClosed()
{
    exit(start({m_long}));
    frmVellumo* w = start({m_short});
    QCOMPARE(entries(cmbFiles(w)), QStringList{m_short});
}

void tst_LastSession::turnedOffNothingComesBack()
{
    frmVellumo* w = start({m_long, m_short});
    QAction* entry = action(w, "mnuReopenSession");
    QVERIFY(entry->isChecked());
    entry->trigger();
    QVERIFY(!entry->isChecked());
    exit(w);

    w = start();
    QCOMPARE(entries(cmbFiles(w)), QStringList{"Untitled1"});
    QVERIFY(!action(w, "mnuReopenSession")->isChecked());
}

// The copy holds the writer's last words, the file only what was saved before them.
void tst_LastSession::recoveredCopyTakesThePlaceOfItsFile()
{
    exit(start({m_short, m_long}));
    {
        RecoveryStore crashed(RecoveryStore::folderFor(m_env->path("data")));
        QVERIFY(crashed.open());
        QVERIFY(crashed.write({0, m_long, true, "{\\rtf1\\ansi unsaved words\\par}"}));
    }
    m_env->messages.queueAnswer(MessageService::Button::Restore);

    frmVellumo* w = start();
    QCOMPARE(entries(cmbFiles(w)), (QStringList{m_long, m_short}));
    QCOMPARE(documents(w)->store().curDoc(), 0);
    QCOMPARE(txtFile(w)->Text().trimmed(), "unsaved words");
    QVERIFY(documents(w)->isModified(0));
}

// Opening a file after a crash, as from the file manager, finds its copy restored.
void tst_LastSession::fileArgumentRestoredIsShownNotReadAgain()
{
    {
        RecoveryStore crashed(RecoveryStore::folderFor(m_env->path("data")));
        QVERIFY(crashed.open());
        QVERIFY(crashed.write({0, m_long, true, "{\\rtf1\\ansi unsaved words\\par}"}));
    }
    m_env->messages.queueAnswer(MessageService::Button::Restore);
    frmVellumo* w = start({m_long, m_short});
    QCOMPARE(entries(cmbFiles(w)), (QStringList{m_long, m_short}));
    QCOMPARE(documents(w)->store().curDoc(), 1);
    documents(w)->selectEntry(0);
    QCOMPARE(txtFile(w)->Text().trimmed(), "unsaved words");
}

// Reading a file lets timers in, the one that offers the copies too.
void tst_LastSession::copyOfferedWhileItsFileIsReadWins()
{
    exit(start({m_long}));
    {
        RecoveryStore crashed(RecoveryStore::folderFor(m_env->path("data")));
        QVERIFY(crashed.open());
        QVERIFY(crashed.write({0, m_long, true, "{\\rtf1\\ansi unsaved words\\par}"}));
    }
    frmVellumo* w = nullptr;
    {
        FileSystemFaults faults(m_env->path("unused"));
        faults.limitFileSize(0);
        w = m_env->window();
    }
    m_env->messages.queueAnswer(MessageService::Button::Restore);
    m_env->onClockRead = [&] {
        if (m_env->messages.questions.isEmpty())
            QMetaObject::invokeMethod(recovery(w)->tmrRecovery(), "timeout");
    };
    w->openArguments({"quillmere"});
    QCOMPARE(m_env->messages.questions.size(), 1);
    QCOMPARE(entries(cmbFiles(w)), QStringList{m_long});
    QCOMPARE(txtFile(w)->Text().trimmed(), "unsaved words");
}

void tst_LastSession::lateCopyTakesThePlaceOfItsReopenedFile_data()
{
    QTest::addColumn<bool>("changedMeanwhile");
    QTest::newRow("nominal: the file as reopened") << false;
    QTest::newRow("the writer has changed the file since: both stay") << true;
}

// Copies are offered once they can be claimed, which may be after the session's files are open.
void tst_LastSession::lateCopyTakesThePlaceOfItsReopenedFile()
{
    QFETCH(bool, changedMeanwhile);
    frmVellumo* w = start({m_short, m_long});
    txtFile(w)->setSelStart(4);
    exit(w);
    {
        RecoveryStore crashed(RecoveryStore::folderFor(m_env->path("data")));
        QVERIFY(crashed.open());
        QVERIFY(crashed.write({1, m_long, true, "{\\rtf1\\ansi unsaved words\\par}"}));
    }
    {
        FileSystemFaults faults(m_env->path("unused"));
        faults.limitFileSize(0);
        w = start();
    }
    QCOMPARE(entries(cmbFiles(w)), (QStringList{m_short, m_long}));
    QCOMPARE(m_env->messages.questions.size(), 0);
    if (changedMeanwhile)
        QTest::keyClicks(txtFile(w), "x");
    m_env->messages.queueAnswer(MessageService::Button::Restore);
    QVERIFY(QMetaObject::invokeMethod(recovery(w)->tmrRecovery(), "timeout"));
    QCOMPARE(m_env->messages.questions.size(), 1);

    const QStringList names = entries(cmbFiles(w));
    QCOMPARE(names.count(m_long), 1);
    QCOMPARE(names.size(), changedMeanwhile ? 3 : 2);
    QVERIFY(documentsDisagree(w).isEmpty());
    QCOMPARE(txtFile(w)->Text().trimmed(), "unsaved words");
    QCOMPARE(documents(w)->store().current().name(), changedMeanwhile ? names[2] : m_long);
    if (!changedMeanwhile)
        QTRY_COMPARE(txtFile(w)->SelStart(), 4);
}

QTEST_MAIN(tst_LastSession)
#include "tst_lastsession.moc"
