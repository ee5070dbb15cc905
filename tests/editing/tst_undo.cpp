#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>

namespace {

/// Picks an entry from the list's popup, as a user does.
void pickEntry(QComboBox* list, int index)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
}

bool isBold(RichTextBox* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position);
    return c.charFormat().fontWeight() == QFont::Bold;
}

} // namespace

/// The one-step undo through the real window: key releases record, Undo toggles.
class tst_Undo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_env.reset(); }

    void undoTogglesBetweenTheLastTwoStates_data();
    void undoTogglesBetweenTheLastTwoStates();
    void heldKeyIsOneChange();
    void keysThatChangeNothingRecordNothing();
    void undoToTheEmptyStartAndBack();
    void unrecordedSeedWordsComeBackOnSecondUndo();
    void eachDocumentKeepsItsOwnPair();
    void boldThenUndo();
    void undoKeepsCaretAndView();
    void undoBringsBackExactlyTheRecordedStates_data();
    void undoBringsBackExactlyTheRecordedStates();

private:
    void type(const QString& text) { QTest::keyClicks(m_editor, text); }
    void undo() { QTest::keyClick(m_editor, Qt::Key_Z, Qt::ControlModifier); }
    const DocumentStore& store() const { return documents(m_window)->store(); }

    std::unique_ptr<TestEnvironment> m_env;
    frmVellumo* m_window = nullptr;
    RichTextBox* m_editor = nullptr;
};

void tst_Undo::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_window = m_env->window();
    m_editor = txtFile(m_window);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_editor->SetFocus();
}

void tst_Undo::undoTogglesBetweenTheLastTwoStates_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("nominal: Ctrl+Z, whose release runs the check") << true;
    QTest::newRow("nominal: Edit > Undo") << false;
}

void tst_Undo::undoTogglesBetweenTheLastTwoStates()
{
    QFETCH(bool, byKeyboard);
    const auto runUndo = [&] { byKeyboard ? undo() : action(m_window, "mnuUndo")->trigger(); };

    type("a");
    type("b");
    // Each toggle walks the document's own history: reading the state again from its RTF
    // would cost seconds in a long document.
    const QTextDocument* shown = m_editor->document();
    for (const char* expected : {"a", "ab", "a", "ab"}) {
        runUndo();
        QCOMPARE(m_editor->Text(), QLatin1String(expected));
        QVERIFY2(m_editor->document() == shown, "Undo read the document again");
    }
}

// Auto-repeat sends press and release pairs; only the last release is the user's.
void tst_Undo::heldKeyIsOneChange()
{
    type("a");
    for (int i = 0; i < 4; ++i) {
        const bool repeat = i > 0;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), repeat);
        QApplication::sendEvent(m_editor, &press);
        if (i < 3) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"),
                              true);
            QApplication::sendEvent(m_editor, &release);
        }
    }
    QCOMPARE(m_editor->Text(), QStringLiteral("axxxx"));
    QTest::keyRelease(m_editor, Qt::Key_X);

    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("a"));
}

void tst_Undo::keysThatChangeNothingRecordNothing()
{
    type("a");
    type("b");
    const QByteArray previous = store().undoRTF(0);
    QTest::keyClick(m_editor, Qt::Key_Left);
    QTest::keyClick(m_editor, Qt::Key_Shift);
    QTest::keyClick(m_editor, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(store().undoRTF(0), previous);

    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("a"));
}

void tst_Undo::undoToTheEmptyStartAndBack()
{
    m_editor->setSelRTF(QStringLiteral("seed words"));
    undo();
    QCOMPARE(m_editor->Text(), QString());
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("seed words"));
}

void tst_Undo::unrecordedSeedWordsComeBackOnSecondUndo()
{
    type("one");
    type(" two");
    m_editor->setSelRTF(QStringLiteral(" seed"));
    action(m_window, "mnuUndo")->trigger();
    QCOMPARE(m_editor->Text(), QStringLiteral("one tw"));
    action(m_window, "mnuUndo")->trigger();
    QCOMPARE(m_editor->Text(), QStringLiteral("one two seed"));
}

void tst_Undo::eachDocumentKeepsItsOwnPair()
{
    QComboBox* list = cmbFiles(m_window);
    type("A1");
    type("A2");
    QTextDocument* first = m_editor->document();
    const QByteArray previous = store().undoRTF(0);
    action(m_window, "mnuNew")->trigger();
    type("B1");
    type("B2");
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("B1B"));

    // The document left comes back whole, with its history, and its states as recorded.
    pickEntry(list, 0);
    QVERIFY2(m_editor->document() == first, "the document left was read again");
    QCOMPARE(store().docRTF(0), m_editor->rtfData());
    QCOMPARE(store().undoRTF(0), previous);
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("A1A"));
    pickEntry(list, 1);
    QCOMPARE(m_editor->Text(), QStringLiteral("B1B"));
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("B1B2"));
    pickEntry(list, 0);
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("A1A2"));
    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("A1A"));
}

void tst_Undo::boldThenUndo()
{
    type("make bold");
    m_editor->setSelStart(5);
    m_editor->setSelLength(4);
    action(m_window, "mnuBold")->trigger();
    QVERIFY(isBold(m_editor, 7));

    undo();
    QCOMPARE(m_editor->Text(), QStringLiteral("make bold"));
    QVERIFY(!isBold(m_editor, 7));
    undo();
    QVERIFY(isBold(m_editor, 7));
}

// A writer at the end of a long text stays there, wherever Undo takes the content.
void tst_Undo::undoKeepsCaretAndView()
{
    m_editor->setTextRTF(QStringLiteral("a line of the draft\n").repeated(300));
    m_editor->moveCursor(QTextCursor::End);
    type("xy");
    const int top = m_editor->verticalScrollBar()->value();
    QVERIFY(top > 0);

    undo();
    QCOMPARE(m_editor->Text().size(), 300 * 20 + 1);
    QCOMPARE(m_editor->textCursor().position(), 300 * 20 + 1);
    QCOMPARE(m_editor->verticalScrollBar()->value(), top);
    undo();
    QCOMPARE(m_editor->Text().size(), 300 * 20 + 2);
    QCOMPARE(m_editor->textCursor().position(), 300 * 20 + 1);
    QCOMPARE(m_editor->verticalScrollBar()->value(), top);
}

void tst_Undo::undoBringsBackExactlyTheRecordedStates_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("nominal: formatting only") << "bold";
    QTest::newRow("nominal: a pasted picture") << "picture";
    QTest::newRow("nominal: a switch between the two states") << "switch";
    QTest::newRow("nominal: seed words written after the latest state") << "unrecorded";
}

// However the document got from one recorded state to the other, Undo shows exactly the
// recorded state, and again the other one, as the RTF it was recorded as.
void tst_Undo::undoBringsBackExactlyTheRecordedStates()
{
    QFETCH(QString, change);
    type("a first line");
    QTest::keyClick(m_editor, Qt::Key_Return);
    type("and a second");
    if (change == "bold") {
        m_editor->setSelStart(2);
        m_editor->setSelLength(5);
        action(m_window, "mnuBold")->trigger();
    } else if (change == "picture") {
        QGuiApplication::clipboard()->setText(
            QStringLiteral("{\\rtf1 {\\pict\\pngblip\\picwgoal300\\pichgoal300 "
                           "89504e470d0a1a0a0000000d4948445200000001000000010806"
                           "0000001f15c4890000000d49444154789c6360f8cfc0f01f0005"
                           "0001ff89993d1d0000000049454e44ae426082}}"));
        action(m_window, "mnuPaste")->trigger();
    } else if (change == "switch") {
        type(" and more");
        action(m_window, "mnuNew")->trigger();
        type("elsewhere");
        pickEntry(cmbFiles(m_window), 0);
    } else {
        m_editor->setSelRTF(QStringLiteral("seed words "));
    }
    const QByteArray before = m_editor->rtfData();
    const QByteArray previous = store().undoRTF(store().curDoc());
    QVERIFY(previous != before);

    undo();
    QCOMPARE(m_editor->rtfData(), previous);
    QCOMPARE(store().docRTF(store().curDoc()), previous);
    undo();
    QCOMPARE(m_editor->rtfData(), before);
    undo();
    QCOMPARE(m_editor->rtfData(), previous);
}

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
