#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QCursor>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

class tst_View : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void fullScreenHidesControlsAndShowsThemAtTheEdge();
    void fullScreenKeepsTheMenuKeys();
    void fullScreenThenExitStoresTheNormalGeometry();
    void focusDimsOnlyOutsideTheUnit_data();
    void focusDimsOnlyOutsideTheUnit();
    void typewriterKeepsTheCaretLineCentred();
    void themeColoursTheEditorAndNotTheDocument();
    void viewChoicesAreRemembered();
    void ctrlTabCyclesTheDocuments();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

namespace {

void activate(frmVellumo* w)
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// The offscreen platform leaves a full-screen window as it was, where a window manager makes
// it cover the screen.
void coverScreen(frmVellumo* w)
{
    w->setGeometry(w->screen()->geometry());
    QTRY_COMPARE(w->geometry(), w->screen()->geometry());
}

QImage shown(RichTextBox* editor)
{
    editor->viewport()->repaint();
    return editor->viewport()->grab().toImage();
}

} // namespace

void tst_View::fullScreenHidesControlsAndShowsThemAtTheEdge()
{
    frmVellumo* w = m_env->window();
    activate(w);
    action(w, "mnuFullScreen")->trigger();
    QTRY_VERIFY(w->isFullScreen());
    coverScreen(w);
    QVERIFY(action(w, "mnuFullScreen")->isChecked());
    for (QWidget* control :
         {static_cast<QWidget*>(tbrVellumo(w)), static_cast<QWidget*>(cmbFiles(w)),
          static_cast<QWidget*>(sbrVellumo(w))})
        QVERIFY(control->isHidden());
    QTRY_COMPARE(w->menuBar()->height(), 0);
    QTRY_COMPARE(txtFile(w)->height(), w->height());
    // The column keeps its width in the middle of a wide screen.
    const QMargins margins = txtFile(w)->viewMargins();
    QVERIFY(margins.left() > 0);
    QCOMPARE(margins.left(), margins.right());

    QCursor::setPos(w->mapToGlobal(QPoint(w->width() / 2, w->height() - 1)));
    QTRY_VERIFY(cmbFiles(w)->isVisible());
    QVERIFY(sbrVellumo(w)->isVisible());
    QVERIFY(tbrVellumo(w)->isHidden());
    QCOMPARE(cmbFiles(w)->geometry().bottom() + 1, sbrVellumo(w)->geometry().top());
    QCursor::setPos(w->mapToGlobal(w->rect().center()));
    QTRY_VERIFY(cmbFiles(w)->isHidden());
    const QPoint textAt = txtFile(w)->viewport()->mapToGlobal(QPoint());
    QCursor::setPos(w->mapToGlobal(QPoint(w->width() / 2, 0)));
    QTRY_VERIFY(tbrVellumo(w)->isVisible());
    QTRY_VERIFY(w->menuBar()->height() > 0);
    QVERIFY(cmbFiles(w)->isHidden());
    // They come over the text, which stays where it is.
    QTRY_COMPARE(txtFile(w)->viewport()->mapToGlobal(QPoint()), textAt);
    QCursor::setPos(w->mapToGlobal(w->rect().center()));
    QTRY_VERIFY(tbrVellumo(w)->isHidden());

    QTest::keyClick(txtFile(w), Qt::Key_Escape);
    QTRY_VERIFY(!w->isFullScreen());
    QVERIFY(!action(w, "mnuFullScreen")->isChecked());
    QTRY_VERIFY(cmbFiles(w)->isVisible());
    QVERIFY(tbrVellumo(w)->isVisible());
    QTRY_VERIFY(w->menuBar()->height() > 0);
    QCOMPARE(txtFile(w)->viewMargins(), QMargins());
    QCOMPARE(txtFile(w)->x(), -1);
    QTRY_COMPARE(cmbFiles(w)->geometry().bottom() + 1 + sbrVellumo(w)->height(),
                 w->centralWidget()->height());
}

// With the menu bar out of sight, the writer's keys still reach every menu and entry.
void tst_View::fullScreenKeepsTheMenuKeys()
{
    frmVellumo* w = m_env->window();
    activate(w);
    action(w, "mnuFullScreen")->trigger();
    QTRY_COMPARE(w->menuBar()->height(), 0);
    txtFile(w)->setFocus();
    QTest::keyClick(txtFile(w), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(menu(w, "mnuFile")->isVisible());
    QTRY_VERIFY(w->menuBar()->height() > 0);
    QTest::keyClick(menu(w, "mnuFile"), Qt::Key_Escape);
    QTest::keyClick(menu(w, "mnuFile"), Qt::Key_Escape);
    QTRY_VERIFY(!menu(w, "mnuFile")->isVisible());
    QTest::keyClick(txtFile(w), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(cmbFiles(w)->count(), 2);
    QVERIFY(w->isFullScreen());
}

void tst_View::fullScreenThenExitStoresTheNormalGeometry()
{
    frmVellumo* w = m_env->window();
    w->move(40, 50);
    w->resize(420, 380);
    QTRY_COMPARE(w->frameGeometry().topLeft(), QPoint(40, 50));
    const QRect outer = w->frameGeometry();
    activate(w);
    QTest::keyClick(txtFile(w), Qt::Key_F11);
    QTRY_VERIFY(w->isFullScreen());
    coverScreen(w);
    action(w, "mnuExit")->trigger();
    m_env->closeWindow();

    w = m_env->window();
    QVERIFY(!w->isFullScreen());
    QTRY_COMPARE(w->frameGeometry(), outer);
}

void tst_View::focusDimsOnlyOutsideTheUnit_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("dimmedPosition");
    // The caret stands in "Second one." of the middle paragraph.
    QTest::newRow("nominal: paragraph") << "mnuFocusParagraph" << 5;
    QTest::newRow("nominal: sentence") << "mnuFocusSentence" << 15;
    QTest::newRow("nominal: three lines") << "mnuFocusThreeLines" << 5;
}

void tst_View::focusDimsOnlyOutsideTheUnit()
{
    QFETCH(QString, unit);
    QFETCH(int, dimmedPosition);
    frmVellumo* w = m_env->window();
    RichTextBox* editor = txtFile(w);
    editor->setFocus();
    QTest::keyClicks(editor, "Far above.");
    QTest::keyClick(editor, Qt::Key_Return);
    for (int line = 0; line < 2; ++line)
        QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "First one here. Second one.");
    for (int line = 0; line < 4; ++line)
        QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "Far below.");
    QTextCursor caret = editor->textCursor();
    caret.setPosition(int(editor->Text().indexOf("Second")) + 3);
    editor->setTextCursor(caret);
    // Without the focus the editor draws no blinking caret to tell two pictures apart.
    editor->clearFocus();
    const QString rtf = editor->TextRTF();
    const QImage plain = shown(editor);

    action(w, unit.toLatin1().constData())->trigger();
    QVERIFY(action(w, unit.toLatin1().constData())->isChecked());
    const QImage focused = shown(editor);
    const QRect lit = editor->cursorRect().adjusted(-2, 0, 2, 0);
    QCOMPARE(focused.copy(lit), plain.copy(lit));
    QTextCursor far(editor->document());
    far.setPosition(dimmedPosition);
    const QRect dimmed = editor->cursorRect(far).adjusted(-2, 0, 8, 0);
    QVERIFY(focused.copy(dimmed) != plain.copy(dimmed));
    QCOMPARE(editor->TextRTF(), rtf);

    action(w, "mnuFocusOff")->trigger();
    QCOMPARE(shown(editor), plain);
}

void tst_View::typewriterKeepsTheCaretLineCentred()
{
    frmVellumo* w = m_env->window();
    RichTextBox* editor = txtFile(w);
    editor->setFocus();
    action(w, "mnuTypewriter")->trigger();
    QVERIFY(action(w, "mnuTypewriter")->isChecked());
    const int middle = editor->viewport()->height() / 2;
    const int line = editor->fontMetrics().lineSpacing();
    for (int lines = 0; lines < 40; ++lines) {
        QTest::keyClicks(editor, QStringLiteral("line %1").arg(lines));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QTest::keyClicks(editor, "the last");
    QVERIFY(editor->verticalScrollBar()->value() > 0);
    QVERIFY2(qAbs(editor->cursorRect().center().y() - middle) <= line,
             qPrintable(QString::number(editor->cursorRect().center().y())));

    action(w, "mnuTypewriter")->trigger();
    QTRY_VERIFY(editor->cursorRect().bottom() >= editor->viewport()->height() - 2 * line);
}

void tst_View::themeColoursTheEditorAndNotTheDocument()
{
    frmVellumo* w = m_env->window();
    RichTextBox* editor = txtFile(w);
    editor->setFocus();
    QTest::keyClicks(editor, "Plain words");
    const QString rtf = editor->TextRTF();
    action(w, "mnuThemeDark")->trigger();
    QVERIFY(action(w, "mnuThemeDark")->isChecked());
    QVERIFY(!action(w, "mnuThemeDesktop")->isChecked());
    QVERIFY(editor->palette().color(QPalette::Base).lightness() < 64);
    QVERIFY(editor->palette().color(QPalette::Text).lightness() > 192);
    QCOMPARE(editor->TextRTF(), rtf);
    action(w, "mnuThemeLight")->trigger();
    QCOMPARE(editor->palette().color(QPalette::Base), QColor(Qt::white));
    action(w, "mnuThemeDesktop")->trigger();
    QCOMPARE(editor->palette().color(QPalette::Base),
             QApplication::palette(editor).color(QPalette::Base));
}

void tst_View::viewChoicesAreRemembered()
{
    frmVellumo* w = m_env->window();
    action(w, "mnuFocusSentence")->trigger();
    action(w, "mnuTypewriter")->trigger();
    action(w, "mnuThemeDark")->trigger();
    action(w, "mnuFullScreen")->trigger();
    m_env->closeWindow();

    w = m_env->window();
    QVERIFY(action(w, "mnuFocusSentence")->isChecked());
    QVERIFY(!action(w, "mnuFocusOff")->isChecked());
    QVERIFY(action(w, "mnuTypewriter")->isChecked());
    QVERIFY(action(w, "mnuThemeDark")->isChecked());
    QVERIFY(!w->isFullScreen());
}

void tst_View::ctrlTabCyclesTheDocuments()
{
    frmVellumo* w = m_env->window();
    action(w, "mnuNew")->trigger();
    action(w, "mnuNew")->trigger();
    activate(w);
    RichTextBox* editor = txtFile(w);
    editor->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
    QCOMPARE(cmbFiles(w)->currentIndex(), 2);
    QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(cmbFiles(w)->currentIndex(), 0);
    QCOMPARE(w->windowTitle(), DocumentList::captionFor("Untitled1"));
    QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(cmbFiles(w)->currentIndex(), 1);
    QTest::keyClick(editor, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(cmbFiles(w)->currentIndex(), 0);
    QTest::keyClick(editor, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(cmbFiles(w)->currentIndex(), 2);
    QVERIFY(editor->Text().isEmpty());
    QVERIFY(documentsDisagree(w).isEmpty());
}

QTEST_MAIN(tst_View)
#include "tst_view.moc"
