#include "EditingWindow.h"
#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

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

void toggle(frmVellumo* w, const char* entry, Path path)
{
    QAction* toggle = action(w, entry);
    if (path == Path::Menu) {
        toggle->trigger();
    } else if (path == Path::Key) {
        // The editor has the focus, as when the writer types the key.
        const QKeyCombination key = toggle->shortcut()[0];
        QTest::keyClick(txtFile(w), key.key(), key.keyboardModifiers());
    } else {
        QTest::mouseClick(button(w, entry), Qt::LeftButton);
    }
}

/// Whether f has the format the toggle of that entry sets.
bool hasFormat(const QTextCharFormat& f, const QString& entry)
{
    if (entry == QLatin1String("mnuBold"))
        return f.fontWeight() == QFont::Bold;
    if (entry == QLatin1String("mnuItalic"))
        return f.fontItalic();
    if (entry == QLatin1String("mnuUnderline"))
        return f.fontUnderline();
    return f.fontStrikeOut();
}

// Clicks into the text so that the caret lands before position, as the mouse does.
void clickAt(frmVellumo* w, int position)
{
    QTextCursor c(txtFile(w)->document());
    c.setPosition(position);
    const QRect r = txtFile(w)->cursorRect(c);
    QTest::mouseClick(txtFile(w)->viewport(), Qt::LeftButton, {},
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
    QTest::addColumn<Path>("path");

    QTest::newRow("nominal: Bold from the menu") << "mnuBold" << Path::Menu;
    QTest::newRow("nominal: Bold from the button") << "mnuBold" << Path::Button;
    QTest::newRow("nominal: Italic from the menu") << "mnuItalic" << Path::Menu;
    QTest::newRow("nominal: Italic from the button") << "mnuItalic" << Path::Button;
    QTest::newRow("nominal: Underline from the menu") << "mnuUnderline" << Path::Menu;
    QTest::newRow("nominal: Underline from the button") << "mnuUnderline" << Path::Button;
    QTest::newRow("nominal: Bold from Ctrl+B") << "mnuBold" << Path::Key;
    QTest::newRow("nominal: Italic from Ctrl+I") << "mnuItalic" << Path::Key;
    QTest::newRow("nominal: Underline from Ctrl+U, not the editor's line deletion")
        << "mnuUnderline" << Path::Key;
    QTest::newRow("nominal: Strikethru from the menu") << "mnuStrikethru" << Path::Menu;
    QTest::newRow("nominal: Strikethru from the button") << "mnuStrikethru" << Path::Button;
}

void tst_Formatting::menuAndButtonStayInStep()
{
    QFETCH(QString, entry);
    QFETCH(Path, path);
    frmVellumo* w = editingWindow(*m_env, "one two");
    QAction* mark = w->findChild<QAction*>(entry);
    select(w, 4, 3);

    toggle(w, qPrintable(entry), path);
    QVERIFY(mark->isChecked());
    QVERIFY(button(w, qPrintable(entry))->isChecked());
    QVERIFY(hasFormat(formatAt(w, 4), entry));
    QVERIFY(hasFormat(formatAt(w, 6), entry));
    QVERIFY(!hasFormat(formatAt(w, 2), entry));
    QCOMPARE(txtFile(w)->SelLength(), 3);

    toggle(w, qPrintable(entry), path);
    QVERIFY(!mark->isChecked());
    QVERIFY(!button(w, qPrintable(entry))->isChecked());
    QVERIFY(!hasFormat(formatAt(w, 4), entry));

    // The change was recorded: Undo makes the word formatted again.
    action(w, "mnuUndo")->trigger();
    QVERIFY(hasFormat(formatAt(w, 4), entry));
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
    txtFile(w)->setSelStart(1);

    toggle(w, "mnuBullet", path);
    QVERIFY(action(w, "mnuBullet")->isChecked());
    QVERIFY(button(w, "mnuBullet")->isChecked());
    QVERIFY(txtFile(w)->document()->firstBlock().textList());

    toggle(w, "mnuBullet", path);
    QVERIFY(!action(w, "mnuBullet")->isChecked());
    QVERIFY(!button(w, "mnuBullet")->isChecked());
    QVERIFY(!txtFile(w)->document()->firstBlock().textList());
}

void tst_Formatting::toggleOnAnAlreadyBoldSelection()
{
    frmVellumo* w = editingWindow(*m_env, "one ");
    action(w, "mnuBold")->trigger();
    type(txtFile(w), "two");
    action(w, "mnuBold")->trigger();
    select(w, 4, 3);
    QVERIFY(boldAt(w, 4));
    QVERIFY(!action(w, "mnuBold")->isChecked());

    action(w, "mnuBold")->trigger();
    QVERIFY(action(w, "mnuBold")->isChecked());
    QVERIFY(boldAt(w, 4));
    action(w, "mnuBold")->trigger();
    QVERIFY(!boldAt(w, 4));
    QVERIFY(!boldAt(w, 6));
}

void tst_Formatting::commandThatChangesNothingRecordsNoSnapshot()
{
    frmVellumo* w = editingWindow(*m_env, "one ");
    action(w, "mnuBold")->trigger();
    type(txtFile(w), "two");
    action(w, "mnuBold")->trigger();
    select(w, 4, 3);

    action(w, "mnuBold")->trigger();
    // Nothing was recorded, so Undo goes back to before the last typed key.
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one tw"));
}

void tst_Formatting::typingFollowsTheToggles_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("caret");

    // The text is "bold plain" with "bold" in bold and the Bold toggle off.
    QTest::newRow("nominal: Bold on, caret into plain text") << "mnuBold"
                                                             << "mnuBold" << true << 7;
    QTest::newRow("nominal: Bold off, caret into bold text") << ""
                                                             << "mnuBold" << false << 2;
    QTest::newRow("nominal: Italic on, caret into plain text") << "mnuItalic"
                                                               << "mnuItalic" << true << 7;
    QTest::newRow("nominal: Underline on") << "mnuUnderline"
                                           << "mnuUnderline" << true << 2;
    QTest::newRow("nominal: Strikethru on") << "mnuStrikethru"
                                            << "mnuStrikethru" << true << 0;
    QTest::newRow("robustness: caret at the very end") << "mnuItalic"
                                                       << "mnuItalic" << true << 10;
}

void tst_Formatting::typingFollowsTheToggles()
{
    QFETCH(QString, entry);
    QFETCH(QString, format);
    QFETCH(bool, on);
    QFETCH(int, caret);
    frmVellumo* w = editingWindow(*m_env);
    action(w, "mnuBold")->trigger();
    type(txtFile(w), "bold");
    action(w, "mnuBold")->trigger();
    type(txtFile(w), " plain");
    QVERIFY(boldAt(w, 3) && !boldAt(w, 4));

    if (!entry.isEmpty())
        w->findChild<QAction*>(entry)->trigger();
    clickAt(w, caret);
    QCOMPARE(txtFile(w)->SelStart(), caret);
    type(txtFile(w), "XY");
    QCOMPARE(txtFile(w)->Text().mid(caret, 2), QStringLiteral("XY"));
    QCOMPARE(hasFormat(formatAt(w, caret), format), on);
    QCOMPARE(hasFormat(formatAt(w, caret + 1), format), on);
}

void tst_Formatting::selectingPlainWordWithBoldOnLeavesItPlain()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    action(w, "mnuBold")->trigger();
    select(w, 0, 3);
    QVERIFY(!boldAt(w, 0));
    txtFile(w)->setSelStart(7);
    select(w, 4, 3);
    QVERIFY(!boldAt(w, 4));
    QVERIFY(action(w, "mnuBold")->isChecked());
}

void tst_Formatting::bulletsNotReappliedWhenCaretMoves()
{
    frmVellumo* w = editingWindow(*m_env, "one\ntwo");
    txtFile(w)->setSelStart(1);
    action(w, "mnuBullet")->trigger();
    QTextDocument* doc = txtFile(w)->document();
    QVERIFY(doc->firstBlock().textList());

    clickAt(w, 5);
    type(txtFile(w), "x");
    QVERIFY(!doc->lastBlock().textList());
    QVERIFY(doc->firstBlock().textList());
}

void tst_Formatting::confirmedColorAppliesAndFocusesEditor()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    cmbFiles(w)->setFocus();
    const QColor teal(0x00, 0x80, 0x80);
    m_env->dialog.queueColor(teal);

    QTest::mouseClick(button(w, "mnuColor"), Qt::LeftButton);
    QCOMPARE(m_env->dialog.shown.size(), 1);
    QCOMPARE(m_env->dialog.shown[0].kind, QStringLiteral("color"));
    QCOMPARE(formatAt(w, 4).foreground().color(), teal);
    QCOMPARE(formatAt(w, 6).foreground().color(), teal);
    QVERIFY(formatAt(w, 2).foreground().color() != teal);
    QTRY_VERIFY(txtFile(w)->hasFocus());

    action(w, "mnuUndo")->trigger();
    QVERIFY(formatAt(w, 4).foreground().color() != teal);
}

void tst_Formatting::cancelledColorChangesNothing()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 0, 3);
    m_env->dialog.queueColor(Qt::red);
    action(w, "mnuColor")->trigger();
    QCOMPARE(formatAt(w, 0).foreground().color(), QColor(Qt::red));
    type(txtFile(w), "ONE");
    select(w, 4, 3);
    const QString before = txtFile(w)->TextRTF();

    // The dialog still holds red; a cancel must not apply it.
    m_env->dialog.queueCancel();
    action(w, "mnuColor")->trigger();
    QCOMPARE(m_env->dialog.shown.size(), 2);
    QVERIFY(m_env->dialog.shown[1].cancelError);
    QCOMPARE(txtFile(w)->TextRTF(), before);
    QVERIFY(formatAt(w, 4).foreground().color() != QColor(Qt::red));
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("ON two"));
}

void tst_Formatting::confirmedFontLeavesTogglesAlone()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    action(w, "mnuUnderline")->trigger();
    action(w, "mnuStrikethru")->trigger();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(14);
    chosen.setBold(true);
    m_env->dialog.queueFont(chosen);

    action(w, "mnuFont")->trigger();
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
    QVERIFY(!action(w, "mnuBold")->isChecked());
    QVERIFY(!button(w, "mnuBold")->isChecked());
    QVERIFY(action(w, "mnuUnderline")->isChecked());
    QVERIFY(button(w, "mnuUnderline")->isChecked());

    // Once the caret moves, typing follows the toggles again.
    txtFile(w)->setSelStart(7);
    type(txtFile(w), "X");
    QVERIFY(!boldAt(w, 7));
    QVERIFY(formatAt(w, 7).fontUnderline());

    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));
}

void tst_Formatting::cancelledFontChangesNothing()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 0, 3);
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPointSize(20);
    big.setItalic(true);
    m_env->dialog.queueFont(big);
    action(w, "mnuFont")->trigger();
    QVERIFY(formatAt(w, 0).fontItalic());
    type(txtFile(w), "ONE");
    select(w, 4, 3);
    const QString before = txtFile(w)->TextRTF();

    m_env->dialog.queueCancel();
    action(w, "mnuFont")->trigger();
    QVERIFY(m_env->dialog.shown[1].cancelError);
    QCOMPARE(txtFile(w)->TextRTF(), before);
    QVERIFY(!formatAt(w, 4).fontItalic());
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("ON two"));
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
    txtFile(w)->setTextRTF(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 DejaVu Serif;}}"
                                          "{\\colortbl;\\red255\\green0\\blue0;}"
                                          "\\f0\\fs32\\cf1 serif words}"));
    select(w, 3, 0);
    QCOMPARE(txtFile(w)->currentCharFormat().fontPointSize(), 16.0);

    action(w, "mnuNew")->trigger();
    if (paste) {
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        action(w, "mnuPaste")->trigger();
    } else {
        type(txtFile(w), QStringLiteral("x"));
    }

    QCOMPARE(txtFile(w)->Text(), QStringLiteral("x"));
    const QTextCharFormat typed = formatAt(w, 0);
    QVERIFY(!typed.hasProperty(QTextFormat::FontPointSize));
    QVERIFY(!typed.hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!typed.hasProperty(QTextFormat::FontFamilies));
}

QTEST_MAIN(tst_Formatting)
#include "tst_formatting.moc"
