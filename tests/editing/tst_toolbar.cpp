#include "EditingWindow.h"
#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>

namespace {

// Counts every menu command the window runs.
int countMenuCommands(frmVellumo* w, QObject* context, int* counter)
{
    int entries = 0;
    for (QAction* a : w->findChildren<QAction*>()) {
        if (a->parent() != w)
            continue;
        QObject::connect(a, &QAction::triggered, context, [counter] { ++*counter; });
        ++entries;
    }
    return entries;
}

void click(frmVellumo* w, const char* entry)
{
    QTest::mouseClick(button(w, entry), Qt::LeftButton);
}

// The toolbar as designed: an empty name is a separator.
const QStringList designed{
    "mnuNew",    "mnuOpen",      "mnuSave",       "",         "mnuPrint", "",         "mnuFind",
    "",          "mnuCut",       "mnuCopy",       "mnuPaste", "mnuUndo",  "",         "mnuBold",
    "mnuItalic", "mnuUnderline", "mnuStrikethru", "mnuColor", "",         "mnuBullet"};

} // namespace

class tst_Toolbar : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void twentyButtonsAreTheMenusOwnEntries();
    void picturesNamesAndTooltips();
    void ownPicturesWithoutIconTheme();
    void buttonsReachTheMenuCommands_data();
    void buttonsReachTheMenuCommands();
    void clipboardAndUndoButtons();
    void cutAndCopyFollowTheSelection();
    void selectionChangesRecordNoSnapshot();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Toolbar::twentyButtonsAreTheMenusOwnEntries()
{
    frmVellumo* w = editingWindow(*m_env);
    const QList<QAction*> buttons = tbrVellumo(w)->actions();
    QCOMPARE(buttons.size(), designed.size());
    const QStringList checks{"mnuBold", "mnuItalic", "mnuUnderline", "mnuStrikethru", "mnuBullet"};
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QAction* b = buttons[i];
        QCOMPARE(b->isSeparator(), designed[i].isEmpty());
        if (b->isSeparator())
            continue;
        QCOMPARE(b, action(w, qPrintable(designed[i])));
        QCOMPARE(b->isCheckable(), checks.contains(designed[i]));
        QVERIFY(!b->isChecked());
    }
}

void tst_Toolbar::picturesNamesAndTooltips()
{
    frmVellumo* w = editingWindow(*m_env);
    QCOMPARE(tbrVellumo(w)->iconSize(), QSize(16, 16));
    QCOMPARE(tbrVellumo(w)->toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QStringList keys{"New",    "Open",      "Save",       "Print", "Find",
                           "Cut",    "Copy",      "Paste",      "Undo",  "Bold",
                           "Italic", "Underline", "Strikethru", "Color", "Bullets"};
    QStringList shown;
    for (QAction* b : tbrVellumo(w)->actions()) {
        if (b->isSeparator())
            continue;
        QVERIFY2(!b->icon().pixmap(16, 16).isNull(), qPrintable(b->objectName()));
        // The menus stay captions only.
        QVERIFY(!b->isIconVisibleInMenu());
        QToolButton* widget = button(w, qPrintable(b->objectName()));
        QCOMPARE(widget->toolTip(), b->toolTip());
        QCOMPARE(widget->accessibleName(), b->toolTip());
        QVERIFY(widget->isVisible());
        shown << b->toolTip();
    }
    QCOMPARE(shown, keys);
}

void tst_Toolbar::ownPicturesWithoutIconTheme()
{
    const QString theme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("quillmere-test-no-such-theme"));
    frmVellumo* w = editingWindow(*m_env);
    QIcon::setThemeName(theme);
    for (QAction* b : tbrVellumo(w)->actions()) {
        if (b->isSeparator())
            continue;
        const QImage picture = b->icon().pixmap(16, 16).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += qAlpha(picture.pixel(x, y)) > 0;
        QVERIFY2(drawn > 20, qPrintable(b->objectName()));
        // Vector pictures stay sharp at twice the size.
        QCOMPARE(b->icon().pixmap(32, 32).size(), QSize(32, 32));
    }
}

void tst_Toolbar::buttonsReachTheMenuCommands_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("dialog");

    QTest::newRow("nominal: New") << "mnuNew"
                                  << "";
    QTest::newRow("nominal: Open") << "mnuOpen"
                                   << "file";
    QTest::newRow("nominal: Save") << "mnuSave"
                                   << "file";
    QTest::newRow("nominal: Print") << "mnuPrint"
                                    << "print";
    QTest::newRow("nominal: Find") << "mnuFind"
                                   << "";
}

void tst_Toolbar::buttonsReachTheMenuCommands()
{
    QFETCH(QString, entry);
    QFETCH(QString, dialog);
    frmVellumo* w = editingWindow(*m_env);
    // The file and print dialogs are cancelled.
    if (dialog == "file")
        m_env->dialog.queueFileName(QString());
    else if (dialog == "print")
        m_env->dialog.queueCancel();
    int commands = 0;
    countMenuCommands(w, this, &commands);
    QSignalSpy triggered(w->findChild<QAction*>(entry), &QAction::triggered);

    click(w, qPrintable(entry));
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(commands, 1);
}

void tst_Toolbar::clipboardAndUndoButtons()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    click(w, "mnuCopy");
    const QString markup = QGuiApplication::clipboard()->text();
    QVERIFY(markup.startsWith("{\\rtf"));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));

    click(w, "mnuCut");
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one "));
    QCOMPARE(QGuiApplication::clipboard()->text(), markup);

    txtFile(w)->setSelStart(0);
    click(w, "mnuPaste");
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("twoone "));

    click(w, "mnuUndo");
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one "));
    click(w, "mnuUndo");
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("twoone "));
}

void tst_Toolbar::cutAndCopyFollowTheSelection()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    const QStringList following{"mnuCut", "mnuCopy", "mnuDelete"};
    const auto states = [&] {
        QList<bool> enabled;
        for (const QString& name : following)
            enabled << action(w, qPrintable(name))->isEnabled();
        return enabled << button(w, "mnuCut")->isEnabled() << button(w, "mnuCopy")->isEnabled();
    };
    const QList<bool> off{false, false, false, false, false};
    const QList<bool> on{true, true, true, true, true};
    QCOMPARE(states(), off);

    QTest::keyClick(txtFile(w), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(states(), on);
    QTest::keyClick(txtFile(w), Qt::Key_Home);
    QCOMPARE(states(), off);
    for (const QString& always : designed)
        if (!always.isEmpty() && !following.contains(always))
            QVERIFY2(button(w, qPrintable(always))->isEnabled(), qPrintable(always));

    // A disabled button takes no click.
    click(w, "mnuCut");
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));

    action(w, "mnuSelectall")->trigger();
    QCOMPARE(states(), on);
}

void tst_Toolbar::selectionChangesRecordNoSnapshot()
{
    frmVellumo* w = editingWindow(*m_env, "ab");
    click(w, "mnuBold");
    click(w, "mnuItalic");
    txtFile(w)->setSelStart(0);
    select(w, 0, 2);
    txtFile(w)->setSelStart(1);
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("a"));
}

QTEST_MAIN(tst_Toolbar)
#include "tst_toolbar.moc"
