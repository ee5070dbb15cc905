#include "FileSystemFaults.h"
#include "app/frmVellumo.h"
#include "dialogs/frmFind.h"
#include "documents/DocumentList.h"
#include "platform/FileArguments.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using Button = MessageService::Button;
Q_DECLARE_METATYPE(MessageService::Button)

namespace {

const QString suffix = QStringLiteral(" - Quillmere v1.0.1");

QStringList entries(const QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

QByteArray rtfWith(const QByteArray& text)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\\f0\\fs18 " + text + "}";
}

/// Picks an entry from the list's popup, as a user does; works for the current entry too.
void pickEntry(QComboBox* list, int index)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
}

QString pdfText(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished())
        return QStringLiteral("<pdftotext failed>");
    // Each page carries its number in the footer.
    return QString::fromUtf8(pdftotext.readAllStandardOutput())
        .simplified()
        .remove(QRegularExpression(QStringLiteral(" \\d+$")));
}

/// Where a word starts on the first page of a PDF, in points from the left edge.
qreal wordLeft(const QString& path, const QString& word)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", path, "-"});
    if (!pdftotext.waitForFinished())
        return -1;
    const QRegularExpression found(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>") +
                                   QRegularExpression::escape(word) + QStringLiteral("</word>"));
    const QRegularExpressionMatch match =
        found.match(QString::fromUtf8(pdftotext.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

} // namespace

/// The document list and the file commands, driven through the real main window.
class tst_Documents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void newTwiceNumbersAndSelectsTheNewDocument();
    void formattedTextSurvivesASwitch();
    void pickingTheCurrentEntryKeepsTheContent();
    void eachDocumentKeepsItsPlace();
    void documentsAgreeThroughAWritersSession();
    void aFarPlaceComesBackWithoutHoldingTheWindow();
    void textWrittenWithoutKeyReleaseSurvivesSwitchAndOpen();

    void openCancelledChangesNothing();
    void openAddsAnEntryEvenForAFileAlreadyOpen();
    void openDoesNotUseAnUntitledNumber();
    void undoStraightAfterOpenKeepsTheLoadedContent();
    void openFailureChangesNothing_data();
    void openFailureChangesNothing();
    void largeFilesAreJudgedBeforeTheyAreRead_data();
    void largeFilesAreJudgedBeforeTheyAreRead();
    void cancelledOpeningOpensNothingMore_data();
    void cancelledOpeningOpensNothingMore();
    void fileArguments_data();
    void fileArguments();
    void commandLineOpensEachFileAsOpenDoes_data();
    void commandLineOpensEachFileAsOpenDoes();
    void manyFilesTellTheirTroubleInOneMessage();
    void droppedFilesOpenAsOpenDoes_data();
    void droppedFilesOpenAsOpenDoes();

    void saveOnUntitledAsksThenSavesDirectly();
    void typedNameWithoutExtensionGetsDoc();
    void saveWritesTheFormatTheFileCameIn();
    void aFormatThatLosesFormattingAsksFirst_data();
    void aFormatThatLosesFormattingAsksFirst();
    void saveAsCancelledChangesNothing();
    void saveWritesReplacementsInSeveralParagraphs();
    void saveAsProposesTheDocumentsOwnName();
    void savingOverWhatCouldNotBeKeptAsksFirst_data();
    void savingOverWhatCouldNotBeKeptAsksFirst();
    void savingOverAFileWrittenElsewhereAsksFirst_data();
    void savingOverAFileWrittenElsewhereAsksFirst();
    void savingAFileDeletedElsewhereWritesItAgain();
    void saveFailureChangesNothing_data();
    void saveFailureChangesNothing();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void longOpenAndSaveShowThatTheyAreWorking();
    void aFileDroppedDuringASaveWaitsForIt();
    void readingOnTwoThreadsMovesTheBar();

    void exitAsksAboutUnsavedDocuments_data();
    void exitAsksAboutUnsavedDocuments();
    void exitSavesADocumentThatIsNotCurrent();
    void exitCancelKeepsEverything();
    void fileJustOpenedClosesWithoutAQuestion();

    void printsSelectionOrWholeDocument_data();
    void printsSelectionOrWholeDocument();
    void printCancelledPrintsNothing();
    void printedIndentsKeepTheirSize();
    void printsOnlyThePagesChosen();

private:
    void type(const QString& text) { QTest::keyClicks(m_editor, text); }
    void checkUnchanged(const QStringList& names, int current, const QString& content);
    const DocumentStore& store() { return documents(m_window)->store(); }

    std::unique_ptr<TestEnvironment> m_env;
    frmVellumo* m_window = nullptr;
    RichTextBox* m_editor = nullptr;
    QComboBox* m_list = nullptr;
};

void tst_Documents::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_window = m_env->window();
    m_editor = txtFile(m_window);
    m_list = cmbFiles(m_window);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

// Whatever a test did with the documents, the list, the store, the caption and the editor agree.
void tst_Documents::cleanup()
{
    QCOMPARE(m_env->dialog.pending(), 0);
    QCOMPARE(m_env->messages.pending(), 0);
    QCOMPARE(documentsDisagree(m_window), QString());
    m_env.reset();
}

void tst_Documents::checkUnchanged(const QStringList& names, int current, const QString& content)
{
    QCOMPARE(entries(m_list), names);
    QCOMPARE(m_list->currentIndex(), current);
    QCOMPARE(store().curDoc(), current);
    QCOMPARE(store().count(), names.size());
    QCOMPARE(m_window->windowTitle(), names.at(current) + suffix);
    QCOMPARE(m_editor->Text(), content);
}

void tst_Documents::startState()
{
    QCOMPARE(entries(m_list), QStringList{"Untitled1"});
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled1 - Quillmere v1.0.1"));
    QCOMPARE(m_editor->Text(), QString());
    QCOMPARE(store().count(), 1);
    QCOMPARE(store().curDoc(), 0);
    QCOMPARE(store().untitledCount(), 1);
    QCOMPARE(store().undoRTF(0), QByteArray());
    QVERIFY(!documents(m_window)->isModified(0));
}

void tst_Documents::newTwiceNumbersAndSelectsTheNewDocument()
{
    type("first");
    action(m_window, "mnuNew")->trigger();
    type("second");
    QTest::keyClick(m_editor, Qt::Key_N, Qt::ControlModifier);

    QCOMPARE(entries(m_list), (QStringList{"Untitled1", "Untitled2", "Untitled3"}));
    QCOMPARE(m_list->currentIndex(), 2);
    QCOMPARE(store().curDoc(), 2);
    QCOMPARE(store().untitledCount(), 3);
    QCOMPARE(m_editor->Text(), QString());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled3 - Quillmere v1.0.1"));
    QCOMPARE(m_editor->hasFocus(), true);

    pickEntry(m_list, 1);
    QCOMPARE(m_editor->Text(), QStringLiteral("second"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled2 - Quillmere v1.0.1"));
}

void tst_Documents::formattedTextSurvivesASwitch()
{
    type("plain bold");
    m_editor->setSelStart(6);
    m_editor->setSelLength(4);
    m_editor->setSelBold(true);
    action(m_window, "mnuNew")->trigger();
    QCOMPARE(m_editor->Text(), QString());

    pickEntry(m_list, 0);
    QCOMPARE(m_editor->Text(), QStringLiteral("plain bold"));
    QTextCursor c(m_editor->document());
    c.setPosition(3);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Normal));
    c.setPosition(8);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
}

void tst_Documents::pickingTheCurrentEntryKeepsTheContent()
{
    type("stays");
    const QByteArray before = m_editor->rtfData();
    pickEntry(m_list, 0);
    QCOMPARE(m_editor->Text(), QStringLiteral("stays"));
    QCOMPARE(m_editor->rtfData(), before);
    QCOMPARE(store().docRTF(0), before);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Untitled1 - Quillmere v1.0.1"));
}

// A long mixed session, as a writer has one: after every step the list, the store, the caption
// and the editor agree, and whatever Save writes is the text shown, in the file the caption names.
void tst_Documents::documentsAgreeThroughAWritersSession()
{
    QRandomGenerator random(20261208);
    const QString opened = m_env->path("opened.doc");
    QFile file(opened);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 opened}");
    file.close();
    int saved = 0;
    for (int step = 0; step < 150; ++step) {
        switch (random.bounded(7)) {
        case 0:
            action(m_window, "mnuNew")->trigger();
            break;
        case 1:
            m_env->dialog.queueFileName(opened);
            action(m_window, "mnuOpen")->trigger();
            break;
        case 2:
            m_env->dialog.queueFileName(m_env->path(QStringLiteral("saved%1.doc").arg(++saved)));
            action(m_window, "mnuSaveas")->trigger();
            break;
        case 3:
            if (!store().current().hasFile())
                m_env->dialog.queueFileName(
                    m_env->path(QStringLiteral("saved%1.doc").arg(++saved)));
            action(m_window, "mnuSave")->trigger();
            break;
        case 4:
            m_list->setCurrentIndex(int(random.bounded(m_list->count())));
            documents(m_window)->cmbFiles_Click();
            break;
        case 5:
            type(QStringLiteral(" words%1").arg(step));
            break;
        default:
            action(m_window, "mnuUndo")->trigger();
            break;
        }
        QVERIFY2(documentsDisagree(m_window).isEmpty(), qPrintable(documentsDisagree(m_window)));
        // A file Quillmere wrote and nothing changed since holds the text shown.
        const QString name = store().current().name();
        if (name != opened && store().current().hasFile() &&
            !documents(m_window)->isModified(store().curDoc())) {
            QFile shown(name);
            QVERIFY(shown.open(QIODevice::ReadOnly));
            QCOMPARE(shown.readAll(), m_editor->rtfData());
        }
    }
}

// Back in a document, the writer finds the selection and the view as they left them, whether the
// document was kept aside whole or read again from what the store keeps.
void tst_Documents::eachDocumentKeepsItsPlace()
{
    m_window->resize(500, 300);
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);
    m_editor->setPlainText(lines.join(u'\n'));
    QTextCursor selection(m_editor->document());
    selection.setPosition(2000);
    selection.setPosition(1990, QTextCursor::KeepAnchor);
    m_editor->setTextCursor(selection);
    m_editor->ensureCursorVisible();
    const int top = m_editor->verticalScrollBar()->value();
    QVERIFY(top > 0);

    action(m_window, "mnuNew")->trigger();
    action(m_window, "mnuNew")->trigger();
    for (int other : {1, 2}) {
        pickEntry(m_list, 0);
        QCOMPARE(m_editor->textCursor().anchor(), 2000);
        QCOMPARE(m_editor->textCursor().position(), 1990);
        QCOMPARE(m_editor->verticalScrollBar()->value(), top);
        pickEntry(m_list, other);
        QCOMPARE(m_editor->verticalScrollBar()->value(), 0);
    }
}

// Laid out again when shown, a long document takes seconds to reach a place near its end: the
// switch returns at once and the place follows as the layout gets there.
void tst_Documents::aFarPlaceComesBackWithoutHoldingTheWindow()
{
    m_editor->setPlainText(QStringLiteral("line of text\n").repeated(100000));
    const int end = m_editor->document()->characterCount() - 1;
    m_editor->setSelStart(end);
    m_editor->ensureCursorVisible();
    action(m_window, "mnuNew")->trigger();

    m_list->setCurrentIndex(0);
    documents(m_window)->cmbFiles_Click();
    QVERIFY(m_editor->textCursor().position() != end);
    QTRY_COMPARE_WITH_TIMEOUT(m_editor->textCursor().position(), end, 60000);
    QVERIFY(m_editor->verticalScrollBar()->value() > 0);
}

// Seed words come in through the control with no key release after them.
void tst_Documents::textWrittenWithoutKeyReleaseSurvivesSwitchAndOpen()
{
    const QString file = m_env->path("other.doc");
    writeFile(file, rtfWith("other"));
    type("typed ");
    m_editor->setSelRTF(QStringLiteral("seed words"));

    action(m_window, "mnuNew")->trigger();
    pickEntry(m_list, 0);
    QCOMPARE(m_editor->Text(), QStringLiteral("typed seed words"));

    m_editor->setSelStart(0);
    m_editor->setSelRTF(QStringLiteral("more "));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QCOMPARE(m_editor->Text(), QStringLiteral("other"));
    pickEntry(m_list, 0);
    QCOMPARE(m_editor->Text(), QStringLiteral("more typed seed words"));
}

void tst_Documents::openCancelledChangesNothing()
{
    type("kept");
    m_env->dialog.queueFileName(QString());
    action(m_window, "mnuOpen")->trigger();

    QCOMPARE(m_env->dialog.shown.size(), 1);
    const FakeCommonDialog::Shown shown = m_env->dialog.shown.constFirst();
    QCOMPARE(shown.kind, QStringLiteral("open"));
    QCOMPARE(shown.title, QStringLiteral("Open"));
    const QStringList filters = CommonDialog::qtFilter(shown.filter).split(";;");
    QCOMPARE(filters.constFirst(),
             QStringLiteral("All documents (*.doc *.rtf *.odt *.docx *.md *.html *.htm *.txt)"));
    QCOMPARE(filters.constLast(), QStringLiteral("All files (*)"));
    QCOMPARE(shown.cancelError, false);
    checkUnchanged({"Untitled1"}, 0, QStringLiteral("kept"));
}

void tst_Documents::openAddsAnEntryEvenForAFileAlreadyOpen()
{
    const QString file = m_env->path("letter.doc");
    writeFile(file, rtfWith("Dear reader"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QCOMPARE(m_window->windowTitle(), file + suffix);
    QCOMPARE(m_editor->hasFocus(), true);
    type("!");

    m_env->dialog.queueFileName(file);
    QTest::keyClick(m_editor, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(entries(m_list), (QStringList{"Untitled1", file, file}));
    QCOMPARE(store().curDoc(), 2);
    QCOMPARE(m_editor->Text(), QStringLiteral("Dear reader"));

    pickEntry(m_list, 1);
    QCOMPARE(m_editor->Text(), QStringLiteral("!Dear reader"));
    QCOMPARE(store().curDoc(), 1);
}

void tst_Documents::openDoesNotUseAnUntitledNumber()
{
    const QString file = m_env->path("a.doc");
    writeFile(file, rtfWith("a"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QCOMPARE(store().untitledCount(), 1);
    action(m_window, "mnuNew")->trigger();
    QCOMPARE(entries(m_list), (QStringList{"Untitled1", file, "Untitled2"}));
}

void tst_Documents::undoStraightAfterOpenKeepsTheLoadedContent()
{
    const QString file = m_env->path("loaded.doc");
    writeFile(file, rtfWith("loaded text"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QCOMPARE(store().undoRTF(1), store().docRTF(1));

    action(m_window, "mnuUndo")->trigger();
    QCOMPARE(m_editor->Text(), QStringLiteral("loaded text"));
    action(m_window, "mnuUndo")->trigger();
    QCOMPARE(m_editor->Text(), QStringLiteral("loaded text"));
}

void tst_Documents::openFailureChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("kind");

    // The header of a binary word-processor file.
    const QByteArray binaryDoc = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(512, '\0');
    QTest::newRow("robustness: missing file") << "missing.doc" << QByteArray() << "file";
    QTest::newRow("robustness: binary word-processor file") << "word.doc" << binaryDoc << "file";
    QTest::newRow("robustness: plain text") << "notes.doc" << QByteArray("just text") << "file";
    QTest::newRow("robustness: a folder") << "folder.doc" << QByteArray() << "folder";
    QTest::newRow("robustness: a pipe nothing writes into") << "pipe.rtf" << QByteArray() << "pipe";
    QTest::newRow("robustness: a device that never ends") << "/dev/zero" << QByteArray() << "file";
}

void tst_Documents::openFailureChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, kind);

    const QString file = QDir::isAbsolutePath(name) ? name : m_env->path(name);
    if (kind == "folder")
        QVERIFY(QDir().mkpath(file));
    else if (kind == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (!content.isEmpty())
        writeFile(file, content);
    // Were the pipe opened, this writer would give it a document, so the fault shows as that
    // document opened rather than as a test that waits for ever; at the end the test reads it.
    std::thread writer;
    if (kind == "pipe")
        writer = std::thread([file] {
            QFile pipe(file);
            if (pipe.open(QIODevice::WriteOnly))
                pipe.write(rtfWith("piped"));
        });
    const auto released = qScopeGuard([&] {
        if (!writer.joinable())
            return;
        const int reader = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK);
        writer.join();
        ::close(reader);
    });
    type("mine");
    const QByteArray stored = store().docRTF(0);
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    const RecordingMessageService::Box box = m_env->messages.boxes.constFirst();
    QVERIFY2(box.prompt.contains(file), qPrintable(box.prompt));
    QVERIFY2(box.prompt.section('\n', 1).trimmed().size() > 0, qPrintable(box.prompt));
    QVERIFY2(box.prompt.section('\n', 1).at(0).isUpper(), qPrintable(box.prompt));
    QCOMPARE(box.title, QStringLiteral("Quillmere"));
    checkUnchanged({"Untitled1"}, 0, QStringLiteral("mine"));
    QCOMPARE(store().docRTF(0), stored);
}

void tst_Documents::largeFilesAreJudgedBeforeTheyAreRead_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("reason");

    const qint64 largest = DocumentFormats::largestFile();
    QTest::newRow("robustness: larger than the memory there is")
        << QByteArray("{\\rtf1 ") << largest + 1 << "this computer has room for files up to";
    QTest::newRow("robustness: large, and no document")
        << QByteArray() << largest << "Not an RTF document";
}

// The files are sparse: they take no room on disk, but reading one takes the room of its size.
void tst_Documents::largeFilesAreJudgedBeforeTheyAreRead()
{
    QFETCH(QByteArray, start);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    const QString file = m_env->path("large.rtf");
    writeFile(file, start);
    QVERIFY(QFile::resize(file, size));
    // Should the file be read after all, the reading is cancelled as soon as it can be.
    m_env->onClockRead = [&] {
        m_env->now += 300;
        auto* cancel = m_window->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        if (cancel && cancel->isVisible())
            QTest::mouseClick(cancel, Qt::LeftButton);
    };
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    const QString prompt = m_env->messages.boxes.constFirst().prompt;
    QVERIFY2(prompt.contains(file) && prompt.contains(reason), qPrintable(prompt));
    checkUnchanged({"Untitled1"}, 0, QString());
}

void tst_Documents::cancelledOpeningOpensNothingMore_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("nominal: Cancel beside the bar") << false;
    QTest::newRow("nominal: Escape") << true;
}

// Cancelling one of several files dropped together stops the files after it as well.
void tst_Documents::cancelledOpeningOpensNothingMore()
{
    QFETCH(bool, escape);
    const QString large = m_env->path("large.rtf");
    writeFile(
        large,
        rtfWith(QByteArray("A paragraph long enough to be worth reading.\\par\n").repeated(80000)));
    writeFile(m_env->path("small.rtf"), rtfWith("small"));
    type("mine");
    // Cancelled halfway through reading, while a second thread parses the file.
    m_env->onClockRead = [&] {
        m_env->now += 300;
        auto* cancel = m_window->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        auto* bar = m_window->findChild<QProgressBar*>(QStringLiteral("prgBusy"));
        if (cancel && cancel->isVisible() && bar->value() >= 375)
            escape ? QTest::keyClick(m_editor, Qt::Key_Escape)
                   : QTest::mouseClick(cancel, Qt::LeftButton);
    };
    files(m_window)->openFiles({large, m_env->path("small.rtf")});

    QCOMPARE(m_env->messages.boxes.size(), 0);
    checkUnchanged({"Untitled1"}, 0, QStringLiteral("mine"));
    QVERIFY(!m_window->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isVisible());
    type("!");
    QCOMPARE(m_editor->Text(), QStringLiteral("mine!"));
}

void tst_Documents::fileArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");

    const QString here = QStringLiteral("/home/writer");
    QTest::newRow("nominal: no argument") << QStringList{"quillmere"} << QStringList{};
    QTest::newRow("nominal: relative and absolute paths")
        << QStringList{"quillmere", "a.rtf", "../b.doc", "/tmp/c.rtf"}
        << QStringList{here + "/a.rtf", "/home/b.doc", "/tmp/c.rtf"};
    QTest::newRow("nominal: a launcher's URL")
        << QStringList{"quillmere", "file:///tmp/my%20letter.rtf"}
        << QStringList{"/tmp/my letter.rtf"};
    QTest::newRow("robustness: options are not files")
        << QStringList{"quillmere", "--verbose", "-x", "a.rtf"} << QStringList{here + "/a.rtf"};
    QTest::newRow("robustness: after -- every argument is a file")
        << QStringList{"quillmere", "--", "-dash.rtf", "--"}
        << QStringList{here + "/-dash.rtf", here + "/--"};
}

void tst_Documents::fileArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QCOMPARE(FileArguments::fromCommandLine(arguments, QStringLiteral("/home/writer")), files);
}

void tst_Documents::commandLineOpensEachFileAsOpenDoes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("messages");

    QTest::newRow("nominal: one file takes the unused start-up document's place")
        << QStringList{"a.rtf"} << QString() << QStringList{"a.rtf"} << 0;
    QTest::newRow("nominal: two files, the last one current")
        << QStringList{"a.rtf", "b.doc"} << QString() << QStringList{"a.rtf", "b.doc"} << 0;
    QTest::newRow("nominal: a start-up document with text in it stays")
        << QStringList{"a.rtf"} << QStringLiteral("mine") << QStringList{"Untitled1", "a.rtf"} << 0;
    QTest::newRow("robustness: a missing file is told and left out")
        << QStringList{"missing.rtf", "a.rtf"} << QString() << QStringList{"a.rtf"} << 1;
    QTest::newRow("robustness: a file that is no document is told and left out")
        << QStringList{"a.rtf", "photo.png"} << QString() << QStringList{"a.rtf"} << 1;
    QTest::newRow("robustness: an empty RTF file keeps the place of the start-up document only")
        << QStringList{"empty.rtf", "a.rtf"} << QString() << QStringList{"empty.rtf", "a.rtf"} << 0;
}

void tst_Documents::commandLineOpensEachFileAsOpenDoes()
{
    QFETCH(QStringList, names);
    QFETCH(QString, typedFirst);
    QFETCH(QStringList, entries);
    QFETCH(int, messages);
    writeFile(m_env->path("a.rtf"), rtfWith("from a"));
    writeFile(m_env->path("b.doc"), rtfWith("from b"));
    writeFile(m_env->path("photo.png"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    writeFile(m_env->path("empty.rtf"), rtfWith(""));
    type(typedFirst);

    QStringList arguments{"quillmere"};
    for (const QString& name : names)
        arguments << m_env->path(name);
    m_window->openArguments(arguments);

    QStringList paths;
    for (const QString& entry : entries)
        paths << (entry.startsWith("Untitled") ? entry : m_env->path(entry));
    checkUnchanged(paths, paths.size() - 1,
                   entries.last() == "b.doc" ? QStringLiteral("from b") : QStringLiteral("from a"));
    QCOMPARE(m_env->messages.boxes.size(), messages);
    if (messages)
        QVERIFY(m_env->messages.boxes.constFirst().prompt.startsWith("Cannot open "));
    QVERIFY(!documents(m_window)->isModified(paths.size() - 1));
    if (typedFirst.isEmpty())
        QCOMPARE(store().untitledCount(), 1);
    // Undo straight after opening keeps the file's content, as after Open.
    action(m_window, "mnuUndo")->trigger();
    QCOMPARE(m_editor->Text(), entries.last() == "b.doc" ? "from b" : "from a");
}

// Two hundred missing files and two that lose their embedded objects make one box, not one
// each, and a box that fits on the screen.
void tst_Documents::manyFilesTellTheirTroubleInOneMessage()
{
    QStringList arguments{"quillmere"};
    for (int i = 1; i <= 200; ++i)
        arguments << m_env->path(QStringLiteral("missing%1.rtf").arg(i));
    const QStringList objects{m_env->path("object1.rtf"), m_env->path("object2.rtf")};
    for (const QString& object : objects) {
        writeFile(object, "{\\rtf1\\ansi{\\object\\objemb{\\*\\objdata 00}}A\\par after\\par}");
        arguments << object;
    }
    m_window->openArguments(arguments);

    QCOMPARE(m_env->messages.boxes.size(), 1);
    const RecordingMessageService::Box box = m_env->messages.boxes.constFirst();
    QCOMPARE(box.icon, MessageService::Icon::Warning);
    QVERIFY2(box.prompt.count('\n') < 30, qPrintable(box.prompt));
    for (const char* told : {"200 of the 202 files", "missing1.rtf: No such file", "object1.rtf",
                             "object2.rtf: embedded objects"})
        QVERIFY2(box.prompt.contains(told), qPrintable(box.prompt));
    QVERIFY2(!box.prompt.contains("missing200.rtf"), qPrintable(box.prompt));
    checkUnchanged(objects, 1, QStringLiteral("A\nafter\n"));
}

void tst_Documents::droppedFilesOpenAsOpenDoes_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("nominal: on the editor") << "txtFile";
    QTest::newRow("nominal: on the list") << "cmbFiles";
    QTest::newRow("nominal: on the toolbar") << "tbrVellumo";
}

// A file manager offers a file as its URL and as that URL in text; text alone is typing.
void tst_Documents::droppedFilesOpenAsOpenDoes()
{
    QFETCH(QString, target);
    const QString file = m_env->path("dropped.rtf");
    writeFile(file, rtfWith("dropped text"));
    type("mine");
    QWidget* onto = m_window->findChild<QWidget*>(target);
    QVERIFY(onto);
    // Qt hands a drop to the nearest widget that takes drops, as the window does here.
    QWidget* receiver = onto == m_editor ? m_editor->viewport() : onto->window();
    QVERIFY(receiver->acceptDrops());
    const auto drop = [&](QMimeData* data, QPoint at) {
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(receiver, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(receiver, &dropped);
        QVERIFY(dropped.isAccepted());
    };

    QMimeData fromFileManager;
    fromFileManager.setUrls({QUrl::fromLocalFile(file)});
    fromFileManager.setText(QUrl::fromLocalFile(file).toString());
    drop(&fromFileManager, receiver->mapFromGlobal(onto->mapToGlobal(onto->rect().center())));
    QTRY_COMPARE(entries(m_list), (QStringList{"Untitled1", file}));
    checkUnchanged({"Untitled1", file}, 1, QStringLiteral("dropped text"));

    if (onto != m_editor)
        return;
    QMimeData text;
    text.setText(QStringLiteral("typed "));
    drop(&text, QPoint(1, 1));
    QCOMPARE(m_editor->Text(), QStringLiteral("typed dropped text"));
    QCOMPARE(store().count(), 2);
}

// The window repaints during a long save, and a file dropped then arrives in the middle of it: it
// opens once the save is done, and the save names and marks the document it wrote.
void tst_Documents::aFileDroppedDuringASaveWaitsForIt()
{
    const QString text = QStringLiteral("A paragraph long enough to be worth reading.\n");
    m_editor->setSelText(text.repeated(30000));
    const QString other = m_env->path("other.doc");
    QFile file(other);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 other}");
    file.close();
    bool dropped = false;
    m_env->onClockRead = [&] {
        m_env->now += 300;
        if (!std::exchange(dropped, true))
            QMetaObject::invokeMethod(
                files(m_window), [&] { files(m_window)->openFiles({other}); },
                Qt::QueuedConnection);
    };
    const QString saved = m_env->path("long.doc");
    m_env->dialog.queueFileName(saved);
    action(m_window, "mnuSaveas")->trigger();
    QCOMPARE(store().at(0).name(), saved);
    QVERIFY(!documents(m_window)->isModified(0));

    QTRY_COMPARE(store().count(), 2);
    QCOMPARE(documentsDisagree(m_window), QString());
    QCOMPARE(store().at(1).name(), other);
    QCOMPARE(m_editor->Text(), QStringLiteral("other"));
}

void tst_Documents::longOpenAndSaveShowThatTheyAreWorking()
{
    m_editor->setSelText(
        QStringLiteral("A paragraph long enough to be worth reading.\n").repeated(30000));
    const QString file = m_env->path("long.doc");
    QList<int> shownProgress;
    qint64 started = -1;
    int busyReads = 0;
    m_env->onClockRead = [&] {
        m_env->now += 300;
        const QCursor* cursor = QApplication::overrideCursor();
        const bool busy = cursor && cursor->shape() == Qt::WaitCursor;
        busyReads += busy;
        auto* bar = m_window->findChild<QProgressBar*>(QStringLiteral("prgBusy"));
        if (bar && bar->isVisible()) {
            // Not before the work has run for a second, and never without the busy cursor.
            QVERIFY(busy && m_env->now - started > 1000);
            shownProgress.append(bar->value());
        }
    };
    for (const bool opening : {false, true}) {
        started = m_env->now;
        shownProgress.clear();
        busyReads = 0;
        m_env->dialog.queueFileName(file);
        (opening ? action(m_window, "mnuOpen") : action(m_window, "mnuSaveas"))->trigger();
        QVERIFY(busyReads > shownProgress.size());
        QVERIFY2(shownProgress.size() >= 2, qPrintable(QString::number(shownProgress.size())));
        QVERIFY(std::is_sorted(shownProgress.cbegin(), shownProgress.cend()));
        QVERIFY(shownProgress.constFirst() < shownProgress.constLast());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!m_window->findChild<QProgressBar*>(QStringLiteral("prgBusy"))->isVisible());
    }
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(m_editor->document()->blockCount(), 30001);
}

// Files of a megabyte and more are read on a second thread while this one builds the document;
// reading fills the bar's first three quarters and storing the document the last one.
void tst_Documents::readingOnTwoThreadsMovesTheBar()
{
    if (QThread::idealThreadCount() < 2)
        QSKIP("a file is read on two threads only where there are two");
    const QString file = m_env->path("long.doc");
    writeFile(
        file,
        rtfWith(QByteArray("A paragraph long enough to be worth reading.\\par\n").repeated(80000)));
    QList<int> shown;
    m_env->onClockRead = [&] {
        m_env->now += 300;
        auto* bar = m_window->findChild<QProgressBar*>(QStringLiteral("prgBusy"));
        if (bar && bar->isVisible() && (shown.isEmpty() || shown.constLast() != bar->value()))
            shown.append(bar->value());
    };
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();

    QCOMPARE(m_list->count(), 2);
    QVERIFY(std::is_sorted(shown.cbegin(), shown.cend()));
    const auto reading = std::count_if(shown.cbegin(), shown.cend(),
                                       [](int value) { return value > 0 && value < 750; });
    const bool pastHalf = std::any_of(shown.cbegin(), shown.cend(),
                                      [](int value) { return value >= 375 && value < 750; });
    QVERIFY2(reading >= 2 && pastHalf, qPrintable(QDebug::toString(shown)));
}

void tst_Documents::saveOnUntitledAsksThenSavesDirectly()
{
    const QString file = m_env->path("report.doc");
    type("Hello");
    m_env->dialog.queueFileName(file);
    QTest::keyClick(m_editor, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(m_env->dialog.shown.size(), 1);
    const FakeCommonDialog::Shown shown = m_env->dialog.shown.constFirst();
    QCOMPARE(shown.kind, QStringLiteral("save"));
    QCOMPARE(shown.title, QStringLiteral("Save"));
    QCOMPARE(shown.defaultExt, QStringLiteral("doc"));
    QVERIFY(shown.filter.startsWith("All Files (*.doc)|*.doc|Rich Text Format (*.rtf)|*.rtf|"));
    QCOMPARE(shown.cancelError, false);
    QVERIFY(readAll(file).startsWith("{\\rtf"));
    QVERIFY(readAll(file).contains("Hello"));
    checkUnchanged({file}, 0, QStringLiteral("Hello"));
    QCOMPARE(store().docRTF(0), m_editor->rtfData());
    QVERIFY(!documents(m_window)->isModified(0));

    type(" again");
    QVERIFY(documents(m_window)->isModified(0));
    action(m_window, "mnuSave")->trigger();
    QCOMPARE(m_env->dialog.shown.size(), 1);
    QVERIFY(readAll(file).contains("Hello again"));
    QVERIFY(!documents(m_window)->isModified(0));

    QTest::keyClick(m_editor, Qt::Key_Backspace);
    QVERIFY(documents(m_window)->isModified(0));
    m_editor->setSelRTF(QStringLiteral("n"));
    QVERIFY2(!documents(m_window)->isModified(0), "content back as saved is unmodified");
}

void tst_Documents::typedNameWithoutExtensionGetsDoc()
{
    type("x");
    m_env->dialog.queueFileName(m_env->path("report"));
    action(m_window, "mnuSaveas")->trigger();
    QVERIFY(QFile::exists(m_env->path("report.doc")));
    QCOMPARE(m_list->itemText(0), m_env->path("report.doc"));
}

void tst_Documents::saveWritesTheFormatTheFileCameIn()
{
    const QString file = m_env->path("notes.md");
    writeFile(file, "# Notes\n\n- first\n");
    m_window->openArguments({"quillmere", file});
    m_editor->moveCursor(QTextCursor::End);
    type(" and more");
    QTest::keyClick(m_editor, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(m_env->messages.questions.size(), 0);
    QCOMPARE(readAll(file), QByteArray("# Notes\n\n- first and more\n"));
    QVERIFY(!documents(m_window)->isModified(0));
}

void tst_Documents::aFormatThatLosesFormattingAsksFirst_data()
{
    QTest::addColumn<Button>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("nominal: saved as text all the same") << Button::Save << "report.txt";
    QTest::newRow("nominal: saved as RTF instead") << Button::SaveAsRtf << "report.doc";
    QTest::newRow("nominal: cancelled") << Button::Cancel << QString();
}

void tst_Documents::aFormatThatLosesFormattingAsksFirst()
{
    QFETCH(Button, answer);
    QFETCH(QString, written);
    type("Bold");
    m_editor->selectAll();
    action(m_window, "mnuBold")->trigger();
    m_env->dialog.queueFileName(m_env->path("report.txt"));
    m_env->messages.queueAnswer(answer);
    if (answer == Button::SaveAsRtf)
        m_env->dialog.queueFileName(m_env->path("report"));
    action(m_window, "mnuSaveas")->trigger();

    QCOMPARE(m_env->messages.questions.size(), 1);
    QCOMPARE(m_env->messages.questions[0].prompt,
             QStringLiteral("Plain Text cannot keep this document's bold, italic and "
                            "strike-through. Save it as Plain Text all the same, or in a format "
                            "that keeps everything?"));
    QCOMPARE(m_env->dialog.pending(), 0);
    QCOMPARE(QDir(QFileInfo(m_env->path("report")).path()).entryList({"report*"}),
             written.isEmpty() ? QStringList() : QStringList{written});
    if (written.isEmpty())
        return;
    if (answer == Button::SaveAsRtf) // offered under the name typed, as RTF
        QCOMPARE(m_env->dialog.shown.last().fileName, m_env->path("report.doc"));
    QCOMPARE(readAll(m_env->path(written)).startsWith("{\\rtf"), answer == Button::SaveAsRtf);
    // What the writer agreed to lose is not asked about again.
    type(" more");
    QTest::keyClick(m_editor, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_env->messages.questions.size(), 1);
    QVERIFY(readAll(m_env->path(written)).contains("more"));
}

void tst_Documents::saveAsCancelledChangesNothing()
{
    type("draft");
    const QByteArray stored = store().docRTF(0);
    m_env->dialog.queueFileName(QString());
    action(m_window, "mnuSave")->trigger();
    checkUnchanged({"Untitled1"}, 0, QStringLiteral("draft"));
    QCOMPARE(store().docRTF(0), stored);
    QCOMPARE(m_env->messages.boxes.size(), 0);
}

// Each Replace changes one paragraph, and nothing asks for the document's RTF in between: Save
// must still write both changes, not only the paragraph changed last.
void tst_Documents::saveWritesReplacementsInSeveralParagraphs()
{
    const QString file = m_env->path("pets.doc");
    writeFile(file, "{\\rtf1\\ansi a cat here\\par nothing\\par the cat sat\\par}");
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    action(m_window, "mnuReplace")->trigger();
    frmFind* dialog = search(m_window)->findDialog();
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtFind"), QStringLiteral("cat"));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtReplace"), QStringLiteral("tiger"));
    for (const char* button : {"cmdFindnext", "cmdReplace", "cmdReplace", "cmdFindcancel"})
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(m_editor->Text(), QStringLiteral("a tiger here\nnothing\nthe tiger sat\n"));

    action(m_window, "mnuSave")->trigger();
    const DocumentFormats::Read saved = DocumentFormats::readFile(file);
    QVERIFY2(saved.document, qPrintable(saved.error));
    QCOMPARE(saved.document->toPlainText(), m_editor->Text());
}

// The shared dialog remembers the last name it showed, here a seed file's; Save As never
// offers to write over that.
void tst_Documents::saveAsProposesTheDocumentsOwnName()
{
    const QString seed = m_env->path("seeds/notes.txt");
    QDir().mkpath(m_env->path("seeds"));
    writeFile(seed, "some seed words");
    m_env->dialog.queueFileName(seed);
    action(m_window, "mnuNewSeed")->trigger();

    // The documents folder where there is one, else the home folder.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        documents = QDir::homePath();
    const QString saved = m_env->path("letters/report.doc");
    QDir().mkpath(m_env->path("letters"));
    m_env->dialog.queueFileName(saved);
    action(m_window, "mnuSaveas")->trigger();
    QCOMPARE(m_env->dialog.shown.last().fileName, QDir(documents).filePath("Untitled1.doc"));

    action(m_window, "mnuNew")->trigger();
    m_env->dialog.queueFileName(QString());
    action(m_window, "mnuSaveas")->trigger();
    QCOMPARE(m_env->dialog.shown.last().fileName, m_env->path("letters/Untitled2.doc"));

    const QString opened = m_env->path("old/draft.doc");
    QDir().mkpath(m_env->path("old"));
    writeFile(opened, rtfWith("draft"));
    m_env->dialog.queueFileName(opened);
    action(m_window, "mnuOpen")->trigger();
    m_env->dialog.queueFileName(QString());
    action(m_window, "mnuSaveas")->trigger();
    QCOMPARE(m_env->dialog.shown.last().fileName, opened);
}

void tst_Documents::savingOverWhatCouldNotBeKeptAsksFirst_data()
{
    QTest::addColumn<Button>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("nominal: Save writes over the file") << Button::Save << true;
    QTest::newRow("nominal: Save As... writes elsewhere") << Button::SaveAs << false;
    QTest::newRow("nominal: Cancel writes nothing") << Button::Cancel << false;
}

void tst_Documents::savingOverWhatCouldNotBeKeptAsksFirst()
{
    QFETCH(Button, answer);
    QFETCH(bool, overwritten);
    const QString file = m_env->path("object.doc");
    const QByteArray object = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\object\\objemb{\\*\\objdata "
                              "00}}A\\par after\\par}";
    writeFile(file, object);
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QCOMPARE(m_env->messages.boxes.size(), 1); // what cannot be kept is named once at opening
    type("x");

    m_env->messages.queueAnswer(answer);
    if (answer == Button::SaveAs)
        m_env->dialog.queueFileName(m_env->path("copy.doc"));
    action(m_window, "mnuSave")->trigger();

    QCOMPARE(m_env->messages.questions.size(), 1);
    const auto& question = m_env->messages.questions[0];
    QCOMPARE(question.prompt,
             file + QStringLiteral(" holds content Quillmere cannot keep (embedded "
                                   "objects). Saving will remove it."));
    QCOMPARE(question.buttons, (QList<Button>{Button::Save, Button::SaveAs, Button::Cancel}));
    QCOMPARE(question.defaultButton, Button::SaveAs);
    QCOMPARE(readAll(file) != object, overwritten);
    QCOMPARE(QFile::exists(m_env->path("copy.doc")), answer == Button::SaveAs);

    // Asked once: what is lost is gone from the file or no longer tied to this document.
    if (answer != Button::Cancel) {
        type("y");
        action(m_window, "mnuSave")->trigger();
        QCOMPARE(m_env->messages.questions.size(), 1);
    }
}

void tst_Documents::savingOverAFileWrittenElsewhereAsksFirst_data()
{
    QTest::addColumn<bool>("savedFirst");
    QTest::addColumn<QString>("change");
    QTest::addColumn<Button>("answer");
    QTest::addColumn<bool>("asked");
    QTest::newRow("nominal: Overwrite writes over their text")
        << false << "longer" << Button::Overwrite << true;
    QTest::newRow("nominal: Save As writes elsewhere")
        << false << "longer" << Button::SaveAs << true;
    QTest::newRow("nominal: Cancel writes nothing") << false << "longer" << Button::Cancel << true;
    QTest::newRow("robustness: other bytes of the same size, after opening")
        << false << "same size" << Button::Overwrite << true;
    QTest::newRow("robustness: other bytes of the same size, after saving")
        << true << "same size" << Button::Overwrite << true;
    QTest::newRow("robustness: written again as it was, after opening")
        << false << "same bytes" << Button::Overwrite << false;
    QTest::newRow("robustness: written again as it was, after saving")
        << true << "same bytes" << Button::Overwrite << false;
}

// Another program writes the file an hour after it was opened or saved; the bytes tell whether
// it changed what the file holds.
void tst_Documents::savingOverAFileWrittenElsewhereAsksFirst()
{
    QFETCH(bool, savedFirst);
    QFETCH(QString, change);
    QFETCH(Button, answer);
    QFETCH(bool, asked);
    const QString file = m_env->path("shared.doc");
    const QString copy = m_env->path("copy.doc");
    writeFile(file, rtfWith("ours"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    type("mine ");
    if (savedFirst)
        action(m_window, "mnuSave")->trigger();
    writeFile(file, change == "longer"      ? rtfWith("their longer text")
                    : change == "same size" ? readAll(file).replace("ours", "OURS")
                                            : readAll(file));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadWrite));
    QVERIFY(written.setFileTime(written.fileTime(QFileDevice::FileModificationTime).addSecs(3600),
                                QFileDevice::FileModificationTime));
    written.close();

    if (asked)
        m_env->messages.queueAnswer(answer);
    if (answer == Button::SaveAs)
        m_env->dialog.queueFileName(copy);
    action(m_window, "mnuSave")->trigger();

    QCOMPARE(m_env->messages.questions.size(), asked ? 1 : 0);
    if (asked) {
        const auto& question = m_env->messages.questions.constFirst();
        QVERIFY2(question.prompt.startsWith(file + " was changed by another program"),
                 qPrintable(question.prompt));
        QCOMPARE(question.buttons, (QList{Button::Overwrite, Button::SaveAs, Button::Cancel}));
        QCOMPARE(question.defaultButton, Button::SaveAs);
    }
    const bool overwritten = !asked || answer == Button::Overwrite;
    QCOMPARE(readAll(file).contains("mine"), overwritten);
    QCOMPARE(readAll(copy).contains("mine"), answer == Button::SaveAs);
    QCOMPARE(documents(m_window)->isModified(1), answer == Button::Cancel);
    QCOMPARE(m_window->windowTitle(), m_list->currentText() + suffix);

    // What Save wrote is what the file holds: the next Save asks nothing.
    type("again ");
    if (answer != Button::Cancel)
        action(m_window, "mnuSave")->trigger();
    QCOMPARE(m_env->messages.questions.size(), asked ? 1 : 0);
    QCOMPARE(readAll(m_list->currentText()).contains("again"), answer != Button::Cancel);
}

void tst_Documents::savingAFileDeletedElsewhereWritesItAgain()
{
    const QString file = m_env->path("gone.doc");
    writeFile(file, rtfWith("ours"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    type("mine ");
    QVERIFY(QFile::remove(file));

    action(m_window, "mnuSave")->trigger();
    QVERIFY(readAll(file).contains("mine ours"));
    QCOMPARE(m_env->messages.boxes.size(), 1);
    const RecordingMessageService::Box box = m_env->messages.boxes.constFirst();
    QVERIFY2(box.prompt.startsWith(file + " was no longer there"), qPrintable(box.prompt));
    QCOMPARE(box.icon, MessageService::Icon::Information);
    QVERIFY(!documents(m_window)->isModified(1));

    type("again ");
    action(m_window, "mnuSave")->trigger();
    QVERIFY(readAll(file).contains("mine again ours"));
    QCOMPARE(m_env->messages.boxes.size(), 1);
}

void tst_Documents::saveFailureChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kind");

    QTest::newRow("robustness: folder does not exist") << "no/such/folder/a.doc"
                                                       << "missing";
    QTest::newRow("robustness: path is a folder") << "afolder.doc"
                                                  << "folder";
    QTest::newRow("robustness: folder not writable") << "ro/a.doc"
                                                     << "readonly";
}

void tst_Documents::saveFailureChangesNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, kind);

    FileSystemFaults faults(m_env->path("ro"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(m_env->path(target)));
    if (kind == QLatin1String("readonly") && !(faults.mountSmall(64) && faults.makeReadOnly()))
        QSKIP("this process may not mount a read-only file system (it writes as root anyway)");

    const QString file = m_env->path(target);
    type("unsaved");
    const QByteArray stored = store().docRTF(0);
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuSave")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    const RecordingMessageService::Box box = m_env->messages.boxes.constFirst();
    QVERIFY2(box.prompt.contains(file), qPrintable(box.prompt));
    QVERIFY2(box.prompt.section('\n', 1).trimmed().size() > 0, qPrintable(box.prompt));
    QCOMPARE(box.icon, MessageService::Icon::Critical);
    checkUnchanged({"Untitled1"}, 0, QStringLiteral("unsaved"));
    QCOMPARE(store().docRTF(0), stored);
    QVERIFY(documents(m_window)->isModified(0));
    QVERIFY(!QFileInfo(file).isFile());
}

void tst_Documents::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("robustness: document larger than the write buffer") << 10000;
    // A buffered device would take all of it and write it only while committing.
    QTest::newRow("robustness: document smaller than the write buffer") << 40;
}

// A write cut short by a full disk must not replace the file that was there.
void tst_Documents::fullDiskKeepsTheOldFile()
{
    QFETCH(int, lines);
    FileSystemFaults faults(m_env->path("small"));
    const bool mounted = faults.mountSmall(128);
    const QString file = m_env->path("small/report.doc");

    type("original");
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuSave")->trigger();
    const QByteArray original = readAll(file);
    QVERIFY(original.contains("original"));

    if (mounted)
        faults.fill();
    else
        faults.limitFileSize(original.size() + 64);
    m_editor->setSelRTF(QStringLiteral("a line of words that fills the disk\n").repeated(lines));
    action(m_window, "mnuSave")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    const QString prompt = m_env->messages.boxes.constFirst().prompt;
    QVERIFY2(prompt.contains(file), qPrintable(prompt));
    QVERIFY2(prompt.contains(mounted ? "space" : "large", Qt::CaseInsensitive), qPrintable(prompt));
    QCOMPARE(readAll(file), original);
    QCOMPARE(QDir(m_env->path("small")).entryList(QDir::Files), QStringList{"report.doc"});
    QCOMPARE(m_window->windowTitle(), file + suffix);
    QVERIFY(documents(m_window)->isModified(0));
}

void tst_Documents::exitAsksAboutUnsavedDocuments_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("quits");

    const QList<Button> none;
    QTest::newRow("nominal: nothing typed, nothing asked") << "" << none << "" << 0 << true;
    QTest::newRow("nominal: discard") << "words" << QList{Button::Discard} << "" << 1 << true;
    QTest::newRow("nominal: save through Save As")
        << "words" << QList{Button::Save} << "kept.doc" << 1 << true;
    QTest::newRow("nominal: cancel") << "words" << QList{Button::Cancel} << "" << 1 << false;
    QTest::newRow("robustness: Save As cancelled stops the exit")
        << "words" << QList{Button::Save} << "-" << 1 << false;
    QTest::newRow("robustness: typed and deleted again is unmodified")
        << "ab\b\b" << none << "" << 0 << true;
}

void tst_Documents::exitAsksAboutUnsavedDocuments()
{
    QFETCH(QString, typed);
    QFETCH(QList<Button>, answers);
    QFETCH(QString, saveAs);
    QFETCH(int, questions);
    QFETCH(bool, quits);

    for (QChar c : typed)
        c == QLatin1Char('\b') ? QTest::keyClick(m_editor, Qt::Key_Backspace) : type(QString(c));
    for (Button answer : answers)
        m_env->messages.queueAnswer(answer);
    if (saveAs == QLatin1String("-"))
        m_env->dialog.queueCancel();
    else if (!saveAs.isEmpty())
        m_env->dialog.queueFileName(m_env->path(saveAs));

    action(m_window, "mnuExit")->trigger();

    QCOMPARE(m_env->messages.questions.size(), questions);
    if (questions) {
        const RecordingMessageService::Question q = m_env->messages.questions.constFirst();
        QVERIFY2(q.prompt.contains("Untitled1"), qPrintable(q.prompt));
        QCOMPARE(q.buttons, (QList{Button::Save, Button::Discard, Button::Cancel}));
        QCOMPARE(q.defaultButton, Button::Save);
    }
    QCOMPARE(m_env->quitCalls, quits ? 1 : 0);
    QCOMPARE(QSettings(m_env->settingsFile(), QSettings::IniFormat).contains("Settings/MainLeft"),
             quits);
    if (!saveAs.isEmpty() && saveAs != QLatin1String("-"))
        QVERIFY(readAll(m_env->path(saveAs)).contains("words"));
    if (!quits) {
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_editor->Text(), typed);
    }
}

void tst_Documents::exitSavesADocumentThatIsNotCurrent()
{
    const QString file = m_env->path("second.doc");
    type("first");
    action(m_window, "mnuNew")->trigger();
    type("second");
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuSave")->trigger();
    type(" more");
    action(m_window, "mnuNew")->trigger();
    m_editor->setSelRTF(QStringLiteral("seed words"));

    m_env->messages.queueAnswer(Button::Discard);
    m_env->messages.queueAnswer(Button::Save);
    m_env->messages.queueAnswer(Button::Discard);
    QList<int> shown;
    m_env->messages.whileAsking = [&] { shown << m_list->currentIndex(); };
    m_window->close();

    // Each question is asked with its document on the screen.
    QCOMPARE(shown, (QList<int>{0, 1, 2}));
    QCOMPARE(m_env->messages.questions.size(), 3);
    QVERIFY(m_env->messages.questions[0].prompt.contains("Untitled1"));
    QVERIFY(m_env->messages.questions[1].prompt.contains(file));
    QVERIFY(m_env->messages.questions[2].prompt.contains("Untitled3"));
    QVERIFY(readAll(file).contains("second more"));
    QCOMPARE(m_env->quitCalls, 1);
}

// Saving a document that is not current shows it; when that save is cancelled the
// user is back where they were.
void tst_Documents::exitCancelKeepsEverything()
{
    type("one");
    action(m_window, "mnuNew")->trigger();
    type("two");
    m_editor->setSelStart(1);
    m_env->messages.queueAnswer(Button::Save);
    m_env->dialog.queueCancel();
    m_window->close();

    QCOMPARE(m_env->quitCalls, 0);
    QVERIFY(m_window->isVisible());
    checkUnchanged({"Untitled1", "Untitled2"}, 1, QStringLiteral("two"));
    QCOMPARE(m_editor->SelStart(), 1);
    pickEntry(m_list, 0);
    QCOMPARE(m_editor->Text(), QStringLiteral("one"));
}

void tst_Documents::fileJustOpenedClosesWithoutAQuestion()
{
    const QString file = m_env->path("opened.doc");
    writeFile(file, rtfWith("as it was"));
    m_env->dialog.queueFileName(file);
    action(m_window, "mnuOpen")->trigger();
    QVERIFY(!documents(m_window)->isModified(1));

    m_window->close();
    QCOMPARE(m_env->messages.questions.size(), 0);
    QCOMPARE(m_env->quitCalls, 1);
}

void tst_Documents::printsSelectionOrWholeDocument_data()
{
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("printed");

    QTest::newRow("nominal: no selection prints everything") << 0 << 0 << 264 << "alpha beta gamma";
    QTest::newRow("nominal: selection prints only itself") << 6 << 4 << 265 << "beta";
}

void tst_Documents::printsSelectionOrWholeDocument()
{
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, flags);
    QFETCH(QString, printed);

    type("alpha beta gamma");
    m_editor->setSelStart(selStart);
    m_editor->setSelLength(selLength);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_env->path("out.pdf"));
    m_env->dialog.queuePrinter(&printer);
    QTest::keyClick(m_editor, Qt::Key_P, Qt::ControlModifier);

    const FakeCommonDialog::Shown shown = m_env->dialog.shown.constFirst();
    QCOMPARE(shown.kind, QStringLiteral("print"));
    QCOMPARE(shown.title, QStringLiteral("Print"));
    QCOMPARE(shown.cancelError, true);
    QCOMPARE(shown.flags, flags);
    QCOMPARE(pdfText(m_env->path("out.pdf")), printed);
    QCOMPARE(m_editor->Text(), QStringLiteral("alpha beta gamma"));
}

// The dialog still holds the printer of the last print; a cancel must not reach it.
void tst_Documents::printCancelledPrintsNothing()
{
    const QString pdf = m_env->path("out.pdf");
    type("printed once");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    m_env->dialog.queuePrinter(&printer);
    action(m_window, "mnuPrint")->trigger();
    QVERIFY(QFile::remove(pdf));

    m_env->dialog.queueCancel();
    action(m_window, "mnuPrint")->trigger();
    QCOMPARE(m_env->dialog.shown.size(), 2);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(m_env->messages.boxes.size(), 0);
}

// 720 twips are half an inch on the screen and must be 36 points on paper too.
void tst_Documents::printedIndentsKeepTheirSize()
{
    m_editor->setTextRTF(QStringLiteral("{\\rtf1 flush\\par\\li720 indented\\par"
                                        "\\pard\\li0\\fi1440 first\\par"
                                        "\\pard a\\tab tabbed\\par}"));
    const QString pdf = m_env->path("indents.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    m_env->dialog.queuePrinter(&printer);
    action(m_window, "mnuPrint")->trigger();

    const qreal flush = wordLeft(pdf, "flush");
    QVERIFY(flush > 0);
    QVERIFY(qAbs(wordLeft(pdf, "indented") - flush - 36) < 1);
    QVERIFY(qAbs(wordLeft(pdf, "first") - flush - 72) < 1);
    // RTF's default tab stops are half an inch apart.
    QVERIFY(qAbs(wordLeft(pdf, "tabbed") - flush - 36) < 1);
}

// Where the dialog still offers a page range, exactly that range comes out.
void tst_Documents::printsOnlyThePagesChosen()
{
    QString text;
    for (int page = 1; page <= 3; ++page)
        text += QStringLiteral("page%1\n").arg(page) + QStringLiteral("line\n").repeated(80);
    m_editor->setTextRTF(text);
    const QString pdf = m_env->path("range.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    m_env->dialog.queuePrinter(&printer);
    action(m_window, "mnuPrint")->trigger();

    const QString printed = pdfText(pdf);
    QVERIFY2(printed.contains("page2") && !printed.contains("page1") && !printed.contains("page3"),
             qPrintable(printed.left(200)));
}

QTEST_MAIN(tst_Documents)
#include "tst_documents.moc"
