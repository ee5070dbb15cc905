#include "EditingWindow.h"
#include "app/frmVellumo.h"
#include "editing/ToolbarState.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QToolButton>

namespace {

enum class Path { Menu, Button, Key };

void toggle(frmVellumo* w, const char* entry, int button, Path path)
{
    auto* action = w->findChild<QAction*>(entry);
    if (path == Path::Menu) {
        action->trigger();
    } else if (path == Path::Key) {
        // The editor has the focus, as when the writer types the key.
        const QKeyCombination key = action->shortcut()[0];
        QTest::keyClick(w->txtFile(), key.key(), key.keyboardModifiers());
    } else {
        QTest::mouseClick(w->toolbar()->buttonWidget(button), Qt::LeftButton);
    }
}

bool hasFormat(const QTextCharFormat& f, int button)
{
    switch (button) {
    case ToolbarState::btnBold:
        return f.fontWeight() == QFont::Bold;
    case ToolbarState::btnItalic:
        return f.fontItalic();
    case ToolbarState::btnUnderline:
        return f.fontUnderline();
    default:
        return f.fontStrikeOut();
    }
}

// Clicks into the text so that the caret lands before position, as the mouse does.
void clickAt(frmVellumo* w, int position)
{
    QTextCursor c(w->txtFile()->document());
    c.setPosition(position);
    const QRect r = w->txtFile()->cursorRect(c);
    QTest::mouseClick(w->txtFile()->viewport(), Qt::LeftButton, {},
                      QPoint(r.x() + 1, r.center().y()));
}

} // namespace

class tst_Formatting : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void menuAndButtonStayInStep_data();
    void menuAndButtonStayInStep();
    void bulletsFromBothPaths_data();
    void bulletsFromBothPaths();
    void toggleOnAnAlreadyBoldSelection();
    void commandThatChangesNothingRecordsNoSnapshot();
    void typingFollowsTheToggles_data();
    void typingFollowsTheToggles();
    void selectingPlainWordWithBoldOnLeavesItPlain();
    void bulletsNotReappliedWhenCaretMoves();
    void confirmedColorAppliesAndFocusesEditor();
    void cancelledColorChangesNothing();
    void confirmedFontLeavesTogglesAlone();
    void cancelledFontChangesNothing();
    void newDocumentsStartWithTheDefaultFormat_data();
    void newDocumentsStartWithTheDefaultFormat();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Formatting::menuAndButtonStayInStep_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("button");
    QTest::addColumn<Path>("path");

    QTest::newRow("nominal: Bold from the menu") << "mnuBold" << 14 << Path::Menu;
    QTest::newRow("nominal: Bold from the button") << "mnuBold" << 14 << Path::Button;
    QTest::newRow("nominal: Italic from the menu") << "mnuItalic" << 15 << Path::Menu;
    QTest::newRow("nominal: Italic from the button") << "mnuItalic" << 15 << Path::Button;
    QTest::newRow("nominal: Underline from the menu") << "mnuUnderline" << 16 << Path::Menu;
    QTest::newRow("nominal: Underline from the button") << "mnuUnderline" << 16 << Path::Button;
    QTest::newRow("nominal: Bold from Ctrl+B") << "mnuBold" << 14 << Path::Key;
    QTest::newRow("nominal: Italic from Ctrl+I") << "mnuItalic" << 15 << Path::Key;
    QTest::newRow("nominal: Underline from Ctrl+U, not the editor's line deletion")
        << "mnuUnderline" << 16 << Path::Key;
    QTest::newRow("nominal: Strikethru from the menu") << "mnuStrikethru" << 17 << Path::Menu;
    QTest::newRow("nominal: Strikethru from the button") << "mnuStrikethru" << 17 << Path::Button;
}

void tst_Formatting::menuAndButtonStayInStep()
{
    QFETCH(QString, entry);
    QFETCH(int, button);
    QFETCH(Path, path);
    frmVellumo* w = editingWindow(*m_env, "one two");
    QAction* mark = w->findChild<QAction*>(entry);
    select(w, 4, 3);

    toggle(w, qPrintable(entry), button, path);
    QVERIFY(mark->isChecked());
    QCOMPARE(w->toolbar()->Value(button), 1);
    QVERIFY(hasFormat(formatAt(w, 4), button));
    QVERIFY(hasFormat(formatAt(w, 6), button));
    QVERIFY(!hasFormat(formatAt(w, 2), button));
    QCOMPARE(w->txtFile()->SelLength(), 3);

    toggle(w, qPrintable(entry), button, path);
    QVERIFY(!mark->isChecked());
    QCOMPARE(w->toolbar()->Value(button), 0);
    QVERIFY(!hasFormat(formatAt(w, 4), button));

    // The change was recorded: Undo makes the word formatted again.
    w->menu().mnuUndo->trigger();
    QVERIFY(hasFormat(formatAt(w, 4), button));
}

void tst_Formatting::bulletsFromBothPaths_data()
{
    QTest::addColumn<Path>("path");
    QTest::newRow("nominal: from the menu") << Path::Menu;
    QTest::newRow("nominal: from the button") << Path::Button;
}

void tst_Formatting::bulletsFromBothPaths()
{
    QFETCH(Path, path);
    frmVellumo* w = editingWindow(*m_env, "one\ntwo");
    w->txtFile()->setSelStart(1);

    toggle(w, "mnuBullet", ToolbarState::btnBullets, path);
    QVERIFY(w->menu().mnuBullet->isChecked());
    QCOMPARE(w->toolbar()->Value(ToolbarState::btnBullets), 1);
    QVERIFY(w->txtFile()->document()->firstBlock().textList());

    toggle(w, "mnuBullet", ToolbarState::btnBullets, path);
    QVERIFY(!w->menu().mnuBullet->isChecked());
    QCOMPARE(w->toolbar()->Value(ToolbarState::btnBullets), 0);
    QVERIFY(!w->txtFile()->document()->firstBlock().textList());
}

void tst_Formatting::toggleOnAnAlreadyBoldSelection()
{
    frmVellumo* w = editingWindow(*m_env, "one ");
    w->menu().mnuBold->trigger();
    type(w->txtFile(), "two");
    w->menu().mnuBold->trigger();
    select(w, 4, 3);
    QVERIFY(boldAt(w, 4));
    QVERIFY(!w->menu().mnuBold->isChecked());

    w->menu().mnuBold->trigger();
    QVERIFY(w->menu().mnuBold->isChecked());
    QVERIFY(boldAt(w, 4));
    w->menu().mnuBold->trigger();
    QVERIFY(!boldAt(w, 4));
    QVERIFY(!boldAt(w, 6));
}

void tst_Formatting::commandThatChangesNothingRecordsNoSnapshot()
{
    frmVellumo* w = editingWindow(*m_env, "one ");
    w->menu().mnuBold->trigger();
    type(w->txtFile(), "two");
    w->menu().mnuBold->trigger();
    select(w, 4, 3);

    w->menu().mnuBold->trigger();
    // Nothing was recorded, so Undo goes back to before the last typed key.
    w->menu().mnuUndo->trigger();
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one tw"));
}

void tst_Formatting::typingFollowsTheToggles_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("caret");

    // The text is "bold plain" with "bold" in bold and the Bold toggle off.
    QTest::newRow("nominal: Bold on, caret into plain text") << "mnuBold" << 14 << true << 7;
    QTest::newRow("nominal: Bold off, caret into bold text") << "" << 14 << false << 2;
    QTest::newRow("nominal: Italic on, caret into plain text") << "mnuItalic" << 15 << true << 7;
    QTest::newRow("nominal: Underline on") << "mnuUnderline" << 16 << true << 2;
    QTest::newRow("nominal: Strikethru on") << "mnuStrikethru" << 17 << true << 0;
    QTest::newRow("robustness: caret at the very end") << "mnuItalic" << 15 << true << 10;
}

void tst_Formatting::typingFollowsTheToggles()
{
    QFETCH(QString, entry);
    QFETCH(int, button);
    QFETCH(bool, on);
    QFETCH(int, caret);
    frmVellumo* w = editingWindow(*m_env);
    w->menu().mnuBold->trigger();
    type(w->txtFile(), "bold");
    w->menu().mnuBold->trigger();
    type(w->txtFile(), " plain");
    QVERIFY(boldAt(w, 3) && !boldAt(w, 4));

    if (!entry.isEmpty())
        w->findChild<QAction*>(entry)->trigger();
    clickAt(w, caret);
    QCOMPARE(w->txtFile()->SelStart(), caret);
    type(w->txtFile(), "XY");
    QCOMPARE(w->txtFile()->Text().mid(caret, 2), QStringLiteral("XY"));
    QCOMPARE(hasFormat(formatAt(w, caret), button), on);
    QCOMPARE(hasFormat(formatAt(w, caret + 1), button), on);
}

void tst_Formatting::selectingPlainWordWithBoldOnLeavesItPlain()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    w->menu().mnuBold->trigger();
    select(w, 0, 3);
    QVERIFY(!boldAt(w, 0));
    w->txtFile()->setSelStart(7);
    select(w, 4, 3);
    QVERIFY(!boldAt(w, 4));
    QVERIFY(w->menu().mnuBold->isChecked());
}

void tst_Formatting::bulletsNotReappliedWhenCaretMoves()
{
    frmVellumo* w = editingWindow(*m_env, "one\ntwo");
    w->txtFile()->setSelStart(1);
    w->menu().mnuBullet->trigger();
    QTextDocument* doc = w->txtFile()->document();
    QVERIFY(doc->firstBlock().textList());

    clickAt(w, 5);
    type(w->txtFile(), "x");
    QVERIFY(!doc->lastBlock().textList());
    QVERIFY(doc->firstBlock().textList());
}

void tst_Formatting::confirmedColorAppliesAndFocusesEditor()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    w->cmbFiles()->setFocus();
    const QColor teal(0x00, 0x80, 0x80);
    m_env->dialog.queueColor(teal);

    QTest::mouseClick(w->toolbar()->buttonWidget(ToolbarState::btnColor), Qt::LeftButton);
    QCOMPARE(m_env->dialog.shown.size(), 1);
    QCOMPARE(m_env->dialog.shown[0].kind, QStringLiteral("color"));
    QCOMPARE(formatAt(w, 4).foreground().color(), teal);
    QCOMPARE(formatAt(w, 6).foreground().color(), teal);
    QVERIFY(formatAt(w, 2).foreground().color() != teal);
    QTRY_VERIFY(w->txtFile()->hasFocus());

    w->menu().mnuUndo->trigger();
    QVERIFY(formatAt(w, 4).foreground().color() != teal);
}

void tst_Formatting::cancelledColorChangesNothing()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 0, 3);
    m_env->dialog.queueColor(Qt::red);
    w->menu().mnuColor->trigger();
    QCOMPARE(formatAt(w, 0).foreground().color(), QColor(Qt::red));
    type(w->txtFile(), "ONE");
    select(w, 4, 3);
    const QString before = w->txtFile()->TextRTF();

    // The dialog still holds red; a cancel must not apply it.
    m_env->dialog.queueCancel();
    w->menu().mnuColor->trigger();
    QCOMPARE(m_env->dialog.shown.size(), 2);
    QVERIFY(m_env->dialog.shown[1].cancelError);
    QCOMPARE(w->txtFile()->TextRTF(), before);
    QVERIFY(formatAt(w, 4).foreground().color() != QColor(Qt::red));
    w->menu().mnuUndo->trigger();
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("ON two"));
}

void tst_Formatting::confirmedFontLeavesTogglesAlone()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    w->menu().mnuUnderline->trigger();
    w->menu().mnuStrikethru->trigger();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(14);
    chosen.setBold(true);
    m_env->dialog.queueFont(chosen);

    w->menu().mnuFont->trigger();
    QCOMPARE(m_env->dialog.shown.size(), 1);
    QCOMPARE(m_env->dialog.shown[0].kind, QStringLiteral("font"));
    QCOMPARE(m_env->dialog.shown[0].flags, 3);
    const QTextCharFormat f = formatAt(w, 4);
    QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Serif"));
    QCOMPARE(f.fontPointSize(), 14.0);
    QVERIFY(f.fontWeight() == QFont::Bold);
    // The dialog offers no underline or strike-through, so the font takes them away.
    QVERIFY(!f.fontUnderline());
    QVERIFY(!f.fontStrikeOut());
    QVERIFY(!w->menu().mnuBold->isChecked());
    QCOMPARE(w->toolbar()->Value(ToolbarState::btnBold), 0);
    QVERIFY(w->menu().mnuUnderline->isChecked());
    QCOMPARE(w->toolbar()->Value(ToolbarState::btnUnderline), 1);

    // Once the caret moves, typing follows the toggles again.
    w->txtFile()->setSelStart(7);
    type(w->txtFile(), "X");
    QVERIFY(!boldAt(w, 7));
    QVERIFY(formatAt(w, 7).fontUnderline());

    w->menu().mnuUndo->trigger();
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one two"));
}

void tst_Formatting::cancelledFontChangesNothing()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 0, 3);
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPointSize(20);
    big.setItalic(true);
    m_env->dialog.queueFont(big);
    w->menu().mnuFont->trigger();
    QVERIFY(formatAt(w, 0).fontItalic());
    type(w->txtFile(), "ONE");
    select(w, 4, 3);
    const QString before = w->txtFile()->TextRTF();

    m_env->dialog.queueCancel();
    w->menu().mnuFont->trigger();
    QVERIFY(m_env->dialog.shown[1].cancelError);
    QCOMPARE(w->txtFile()->TextRTF(), before);
    QVERIFY(!formatAt(w, 4).fontItalic());
    w->menu().mnuUndo->trigger();
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("ON two"));
}

void tst_Formatting::newDocumentsStartWithTheDefaultFormat_data()
{
    QTest::addColumn<bool>("paste");
    QTest::newRow("nominal: typed") << false;
    QTest::newRow("nominal: pasted") << true;
}

// The caret's last format, here 16 pt red serif, belongs to the document it was in.
void tst_Formatting::newDocumentsStartWithTheDefaultFormat()
{
    QFETCH(bool, paste);
    frmVellumo* w = editingWindow(*m_env);
    w->txtFile()->setTextRTF(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 DejaVu Serif;}}"
                                            "{\\colortbl;\\red255\\green0\\blue0;}"
                                            "\\f0\\fs32\\cf1 serif words}"));
    select(w, 3, 0);
    QCOMPARE(w->txtFile()->currentCharFormat().fontPointSize(), 16.0);

    w->menu().mnuNew->trigger();
    if (paste) {
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        w->menu().mnuPaste->trigger();
    } else {
        type(w->txtFile(), QStringLiteral("x"));
    }

    QCOMPARE(w->txtFile()->Text(), QStringLiteral("x"));
    const QTextCharFormat typed = formatAt(w, 0);
    QVERIFY(!typed.hasProperty(QTextFormat::FontPointSize));
    QVERIFY(!typed.hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!typed.hasProperty(QTextFormat::FontFamilies));
}

QTEST_MAIN(tst_Formatting)
#include "tst_formatting.moc"
