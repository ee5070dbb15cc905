#include "EditingWindow.h"
#include "app/frmVellumo.h"
#include "editing/ToolbarState.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"

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

void click(frmVellumo* w, int index)
{
    QTest::mouseClick(w->toolbar()->buttonWidget(index), Qt::LeftButton);
}

} // namespace

class tst_Toolbar : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void twentyButtonsAsDesigned();
    void picturesNamesAndTooltips();
    void ownPicturesWithoutIconTheme();
    void buttonsReachTheMenuCommands_data();
    void buttonsReachTheMenuCommands();
    void clipboardAndUndoButtons();
    void dispatchGoesByKeyText();
    void unknownKeyDoesNothing_data();
    void unknownKeyDoesNothing();
    void cutAndCopyFollowTheSelection();
    void selectionChangesRecordNoSnapshot();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Toolbar::twentyButtonsAsDesigned()
{
    frmVellumo* w = editingWindow(*m_env);
    ToolbarState* bar = w->toolbar();
    QCOMPARE(w->tbrVellumo()->actions().size(), 20);
    const QStringList keys{"New",    "Open",      "Save",       "",      "Print", "",       "Find",
                           "",       "Cut",       "Copy",       "Paste", "Undo",  "",       "Bold",
                           "Italic", "Underline", "Strikethru", "Color", "",      "Bullets"};
    const QList<int> separators{4, 6, 8, 13, 19};
    const QList<int> checks{14, 15, 16, 17, 20};
    for (int i = 1; i <= 20; ++i) {
        QAction* b = bar->button(i);
        QVERIFY(b);
        QCOMPARE(ToolbarState::key(b), keys[i - 1]);
        QCOMPARE(b->isSeparator(), separators.contains(i));
        QCOMPARE(b->isCheckable(), checks.contains(i));
        QVERIFY(!b->isChecked());
        QCOMPARE(bar->Value(i), 0);
        if (i != ToolbarState::btnCut && i != ToolbarState::btnCopy)
            QVERIFY(b->isEnabled());
    }
    QCOMPARE(bar->button(0), nullptr);
    QCOMPARE(bar->button(21), nullptr);
    QCOMPARE(bar->buttonWidget(4), nullptr);
}

void tst_Toolbar::picturesNamesAndTooltips()
{
    frmVellumo* w = editingWindow(*m_env);
    QCOMPARE(w->tbrVellumo()->iconSize(), QSize(16, 16));
    QCOMPARE(w->tbrVellumo()->toolButtonStyle(), Qt::ToolButtonIconOnly);
    int pictures = 0;
    for (int i = 1; i <= 20; ++i) {
        QAction* b = w->toolbar()->button(i);
        if (b->isSeparator())
            continue;
        const QString key = ToolbarState::key(b);
        QVERIFY2(!b->icon().pixmap(16, 16).isNull(), qPrintable(key));
        QCOMPARE(b->toolTip(), key);
        QCOMPARE(w->toolbar()->buttonWidget(i)->accessibleName(), key);
        QVERIFY(w->toolbar()->buttonWidget(i)->isVisible());
        ++pictures;
    }
    QCOMPARE(pictures, 15);
}

void tst_Toolbar::ownPicturesWithoutIconTheme()
{
    const QString theme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("quillmere-test-no-such-theme"));
    frmVellumo* w = editingWindow(*m_env);
    QIcon::setThemeName(theme);
    for (int i = 1; i <= 20; ++i) {
        QAction* b = w->toolbar()->button(i);
        if (b->isSeparator())
            continue;
        const QImage picture = b->icon().pixmap(16, 16).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += qAlpha(picture.pixel(x, y)) > 0;
        QVERIFY2(drawn > 20, qPrintable(ToolbarState::key(b)));
        // Vector pictures stay sharp at twice the size.
        QCOMPARE(b->icon().pixmap(32, 32).size(), QSize(32, 32));
    }
}

void tst_Toolbar::buttonsReachTheMenuCommands_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("dialog");

    QTest::newRow("nominal: New") << 1 << "mnuNew"
                                  << "";
    QTest::newRow("nominal: Open") << 2 << "mnuOpen"
                                   << "file";
    QTest::newRow("nominal: Save") << 3 << "mnuSave"
                                   << "file";
    QTest::newRow("nominal: Print") << 5 << "mnuPrint"
                                    << "print";
    QTest::newRow("nominal: Find") << 7 << "mnuFind"
                                   << "";
}

void tst_Toolbar::buttonsReachTheMenuCommands()
{
    QFETCH(int, button);
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

    click(w, button);
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(commands, 1);
}

void tst_Toolbar::clipboardAndUndoButtons()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    click(w, ToolbarState::btnCopy);
    const QString markup = QGuiApplication::clipboard()->text();
    QVERIFY(markup.startsWith("{\\rtf"));
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one two"));

    click(w, ToolbarState::btnCut);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one "));
    QCOMPARE(QGuiApplication::clipboard()->text(), markup);

    w->txtFile()->setSelStart(0);
    click(w, ToolbarState::btnPaste);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("twoone "));

    click(w, ToolbarState::btnUndo);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one "));
    click(w, ToolbarState::btnUndo);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("twoone "));
}

void tst_Toolbar::dispatchGoesByKeyText()
{
    frmVellumo* w = editingWindow(*m_env, "ab");
    QGuiApplication::clipboard()->setText("x");
    QSignalSpy news(w->menu().mnuNew, &QAction::triggered);
    QAction* first = w->toolbar()->button(1);
    first->setData(QStringLiteral("Paste"));

    click(w, 1);
    QCOMPARE(news.size(), 0);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("abx"));

    // A toggle's button reports its own new state; the handler only follows it.
    first->setData(QStringLiteral("Bold"));
    first->setChecked(true);
    w->toolbar()->tbrVellumo_ButtonClick(first);
    QVERIFY(w->menu().mnuBold->isChecked());
    QCOMPARE(w->toolbar()->Value(ToolbarState::btnBold), 0);
}

void tst_Toolbar::unknownKeyDoesNothing_data()
{
    QTest::addColumn<QString>("key");

    QTest::newRow("robustness: no key") << "";
    QTest::newRow("robustness: keys compare case-sensitively") << "bold";
    QTest::newRow("robustness: the picture's key is not the button's") << "Strike Through";
    QTest::newRow("robustness: no Delete button") << "Delete";
    QTest::newRow("robustness: exact text only") << "New ";
}

void tst_Toolbar::unknownKeyDoesNothing()
{
    QFETCH(QString, key);
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    QGuiApplication::clipboard()->setText("kept");
    const QString before = w->txtFile()->TextRTF();
    int commands = 0;
    QVERIFY(countMenuCommands(w, this, &commands) >= 34);
    QAction* first = w->toolbar()->button(1);
    first->setData(key);

    click(w, 1);
    QCOMPARE(commands, 0);
    QCOMPARE(w->txtFile()->TextRTF(), before);
    QCOMPARE(w->txtFile()->SelLength(), 3);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QVERIFY(m_env->dialog.shown.isEmpty());
    for (int i = 1; i <= 20; ++i)
        QCOMPARE(w->toolbar()->Value(i), 0);
    for (QAction* a : w->menu().mnuFormat->actions())
        QVERIFY2(!a->isChecked(), qPrintable(a->objectName()));
}

void tst_Toolbar::cutAndCopyFollowTheSelection()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    const MainMenu& m = w->menu();
    ToolbarState* bar = w->toolbar();
    const auto states = [&] {
        return QList<bool>{m.mnuCut->isEnabled(), m.mnuCopy->isEnabled(), m.mnuDelete->isEnabled(),
                           bar->button(9)->isEnabled(), bar->button(10)->isEnabled()};
    };
    const QList<bool> off{false, false, false, false, false};
    const QList<bool> on{true, true, true, true, true};
    QCOMPARE(states(), off);

    QTest::keyClick(w->txtFile(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(states(), on);
    QVERIFY(bar->buttonWidget(9)->isEnabled());
    QTest::keyClick(w->txtFile(), Qt::Key_Home);
    QCOMPARE(states(), off);
    QVERIFY(!bar->buttonWidget(9)->isEnabled());
    for (int always : {1, 2, 3, 5, 7, 11, 12, 14, 15, 16, 17, 18, 20})
        QVERIFY(bar->button(always)->isEnabled());

    // A disabled button takes no click.
    click(w, ToolbarState::btnCut);
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("one two"));

    w->menu().mnuSelectall->trigger();
    QCOMPARE(states(), on);
}

void tst_Toolbar::selectionChangesRecordNoSnapshot()
{
    frmVellumo* w = editingWindow(*m_env, "ab");
    click(w, ToolbarState::btnBold);
    click(w, ToolbarState::btnItalic);
    w->txtFile()->setSelStart(0);
    select(w, 0, 2);
    w->txtFile()->setSelStart(1);
    w->menu().mnuUndo->trigger();
    QCOMPARE(w->txtFile()->Text(), QStringLiteral("a"));
}

QTEST_MAIN(tst_Toolbar)
#include "tst_toolbar.moc"
