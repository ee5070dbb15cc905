#include "app/LayoutRule.h"
#include "app/WindowGeometry.h"
#include "app/frmVellumo.h"
#include "dialogs/SearchCommands.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void layoutRule_data();
    void layoutRule();
    void fullScreenColumn_data();
    void fullScreenColumn();
    void geometryParsing();
    void offScreenWindowMovesOntoPrimary();
    void framedWindowSettles();

    void menuBarAsDesigned();
    void startState();
    void geometryStoredAtCloseAndRestored();
    void storedGeometryFallsBack_data();
    void storedGeometryFallsBack();
    void exitAndCloseBoxRunSameShutdown();
    void listSitsAtBottomOfClientArea_data();
    void listSitsAtBottomOfClientArea();
    void onlyWidthsFollowAtOrBelowTheGuard_data();
    void onlyWidthsFollowAtOrBelowTheGuard();
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void everyToolbarButtonIsNamed();
    void aboutBoxIsSingleModelessAndClosesOnEnterAndEscape();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_MainWindow::layoutRule_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("toolbar");
    QTest::addColumn<double>("listWidth");
    QTest::addColumn<double>("editorHeight");
    QTest::addColumn<double>("listTop");

    QTest::newRow("nominal: first start 5000 x 5000")
        << 5000.0 << 5000.0 << 360.0 << 4910.0 << 3655.0 << 4015.0;
    QTest::newRow("nominal: just above the guard")
        << 3000.0 << 1401.0 << 360.0 << 2910.0 << 56.0 << 416.0;
    QTest::newRow("robustness: guard at 1400 lays out widths only")
        << 3000.0 << 1400.0 << 360.0 << 2910.0 << -1.0 << -1.0;
    QTest::newRow("robustness: minimised height")
        << 2000.0 << 300.0 << 360.0 << 1910.0 << -1.0 << -1.0;
    QTest::newRow("robustness: a wrapped toolbar never makes a negative height")
        << 50.0 << 1500.0 << 900.0 << 0.0 << 0.0 << 900.0;
}

void tst_MainWindow::layoutRule()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, toolbar);
    QFETCH(double, listWidth);
    QFETCH(double, editorHeight);
    QFETCH(double, listTop);

    const LayoutRule r = LayoutRule::compute(width, height, toolbar, 315);
    QCOMPARE(r.listWidth, listWidth);
    QCOMPARE(r.editorWidth, listWidth);
    QCOMPARE(r.editorHeight.value_or(-1), editorHeight);
    QCOMPARE(r.listTop.value_or(-1), listTop);
}

void tst_MainWindow::fullScreenColumn_data()
{
    QTest::addColumn<int>("textEm");
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("column");
    // At 96 dots an inch an em of 12 pt text is 16 pixels.
    QTest::newRow("nominal: 12 pt text, 40 ems") << 16 << 1920 << 640;
    QTest::newRow("9 pt text reads in a 12 pt column") << 12 << 1920 << 640;
    QTest::newRow("larger text, a wider column") << 24 << 1920 << 960;
    QTest::newRow("never wider than the screen less its margins") << 64 << 1920 << 1856;
    QTest::newRow("a narrow screen") << 16 << 600 << 536;
    QTest::newRow("robustness: no room at all") << 16 << 20 << 0;
}

void tst_MainWindow::fullScreenColumn()
{
    QFETCH(int, textEm);
    QFETCH(int, room);
    QFETCH(int, column);
    QCOMPARE(LayoutRule::fullScreenColumn(textEm, 16, room), column);
}

void tst_MainWindow::geometryParsing()
{
    const auto g = WindowGeometry::fromSettings("1500", "abc", "", " 6000.5 ");
    QCOMPARE(g.left, 1500.0);
    QCOMPARE(g.top, 0.0);
    QCOMPARE(g.width, 5000.0);
    QCOMPARE(g.height, 6000.5);
    QCOMPARE(WindowGeometry::fromSettings("nan", "inf", "1e99", "12").width, 5000.0);
    QCOMPARE(WindowGeometry::toSetting(5000), QStringLiteral("5000"));
    QCOMPARE(WindowGeometry{}.toPixels(), QRect(0, 0, 333, 333));
}

void tst_MainWindow::offScreenWindowMovesOntoPrimary()
{
    const QRect primary(0, 0, 1920, 1080);
    const QList<QRect> screens{primary, QRect(1920, 0, 1280, 1024)};
    QCOMPARE(WindowGeometry::ontoScreens(QRect(2000, 100, 400, 300), screens, primary),
             QRect(2000, 100, 400, 300));
    QCOMPARE(WindowGeometry::ontoScreens(QRect(-5000, 9000, 400, 300), screens, primary),
             QRect(0, 0, 400, 300));
    QCOMPARE(WindowGeometry::ontoScreens(QRect(9000, 0, 4000, 3000), screens, primary),
             QRect(0, 0, 1920, 1080));
    // Partly off the screen, its title bar still at hand: it stays where it was put.
    QCOMPARE(WindowGeometry::ontoScreens(QRect(-100, 50, 400, 300), screens, primary),
             QRect(-100, 50, 400, 300));
    // On a screen, but with the title bar above it, out of reach.
    QCOMPARE(WindowGeometry::ontoScreens(QRect(100, -3333, 400, 3500), screens, primary),
             QRect(0, 0, 400, 1080));
    // Larger than the screen it is on: it fits that screen.
    QCOMPARE(WindowGeometry::ontoScreens(QRect(1930, 10, 32767, 32767), screens, primary),
             QRect(1930, 10, 1280, 1024));
}

// Fitted once the frame is known, but never against what the writer did meanwhile.
void tst_MainWindow::framedWindowSettles()
{
    const QRect wanted(100, 100, 600, 400);
    const QSize setInner = wanted.size();
    const auto settled = [&](const QRect& frame, const QRect& client) {
        return WindowGeometry::settled(wanted, setInner, frame, client);
    };
    // Placed by its frame as asked, its inner size still the outer one given.
    QCOMPARE(settled(QRect(100, 100, 610, 430), QRect(105, 125, 600, 400)), wanted);
    // Its client area where the frame should be.
    QCOMPARE(settled(QRect(95, 75, 610, 430), QRect(100, 100, 600, 400)), wanted);
    // Moved and resized by the writer before the frame was known.
    QCOMPARE(settled(QRect(300, 200, 510, 330), QRect(305, 225, 500, 300)),
             QRect(300, 200, 510, 330));
}

void tst_MainWindow::menuBarAsDesigned()
{
    // The languages listed are those installed, whatever the machine has.
    m_env->dictionaryDir = m_env->path("dictionaries");
    QVERIFY(QDir().mkpath(m_env->dictionaryDir));
    for (const char* file : {"/en_US.aff", "/en_US.dic"})
        QVERIFY(QFile(m_env->dictionaryDir + file).open(QIODevice::WriteOnly));
    frmVellumo* w = m_env->window();
    // name, caption, shortcut, enabled; "-" marks a separator.
    const QList<QStringList> expected{
        {"mnuFile", "&File"},
        {"mnuNew", "&New", "Ctrl+N", "1"},
        {"mnuOpen", "&Open...", "Ctrl+O", "1"},
        {"mnuSave", "&Save", "Ctrl+S", "1"},
        {"mnuSaveas", "Save as...", "", "1"},
        {"mnuSep1", "-"},
        {"mnuPrint", "&Print...", "Ctrl+P", "1"},
        {"mnuPageSetup", "Page Set&up...", "", "1"},
        {"mnuSep2", "-"},
        {"mnuExit", "E&xit", "", "1"},
        {"mnuSeed", "Seed"},
        {"mnuSelectSeed", "Select Seed"},
        {"mnuNewSeed", "New Seed", "Shift+Ins", "1"},
        {"mnuSeedOne", "Seed One", "", "1"},
        {"mnuSeedTwo", "Seed Two", "", "1"},
        {"mnuSeedThree", "Seed Three", "", "1"},
        // Hidden, and so disabled, until seed files are read.
        {"mnuSepSeeds", "-"},
        {"mnuRecentSeed1", "", "", "0"},
        {"mnuRecentSeed2", "", "", "0"},
        {"mnuRecentSeed3", "", "", "0"},
        {"mnuRecentSeed4", "", "", "0"},
        {"mnuRecentSeed5", "", "", "0"},
        {"mnuRecentSeed6", "", "", "0"},
        {"mnuRecentSeed7", "", "", "0"},
        {"mnuRecentSeed8", "", "", "0"},
        {"mnuRecentSeed9", "", "", "0"},
        {"mnuSepManage", "-"},
        {"mnuManageSeeds", "Manage Seeds...", "", "1"},
        {"mnuInject", "Inject Seed", "F8", "1"},
        {"mnuReroll", "Reroll", "Ctrl+F8", "0"},
        {"mnuEdit", "&Edit"},
        {"mnuUndo", "Undo", "Ctrl+Z", "1"},
        {"mnuSep3", "-"},
        {"mnuCut", "Cut", "Ctrl+X", "0"},
        {"mnuCopy", "Copy", "Ctrl+C", "0"},
        {"mnuPaste", "Paste", "Ctrl+V", "1"},
        {"mnuDelete", "Delete", "Del", "0"},
        {"mnuSep4", "-"},
        {"mnuFind", "Find...", "Ctrl+F", "1"},
        {"mnuReplace", "Replace", "Ctrl+H", "1"},
        {"mnuGoto", "Go to...", "Ctrl+G", "1"},
        {"mnuSep5", "-"},
        {"mnuSelectall", "Select All", "Ctrl+A", "1"},
        {"mnuSep6", "-"},
        {"mnuCheckSpelling", "Check Spelling", "", "1"},
        {"mnuSpellingLanguage", "Spelling Language"},
        {"mnuLanguage_en_US", "English (United States)", "", "1"},
        {"mnuTimer", "&Timer"},
        {"mnu0Sec", "Freeze block", "F1", "1"},
        {"mnu600Sec", "10 minutes ...", "F2", "1"},
        {"mnu300Sec", "5 minutes ...", "F3", "1"},
        {"mnu30Sec", "30 seconds ...", "F4", "1"},
        {"mnu20Sec", "20 seconds ...", "F5", "1"},
        {"mnu10Sec", "10 seconds ...", "F6", "1"},
        {"mnuPause10Sec", "When I pause 10 seconds", "", "1"},
        {"mnuPause30Sec", "When I pause 30 seconds", "", "1"},
        {"mnuPause60Sec", "When I pause 60 seconds", "", "1"},
        {"mnuFormat", "Format"},
        {"mnuBold", "Bold", "Ctrl+B", "1"},
        {"mnuItalic", "Italic", "Ctrl+I", "1"},
        {"mnuUnderline", "Underline", "Ctrl+U", "1"},
        {"mnuStrikethru", "Strikethru", "", "1"},
        {"mnuBullet", "Bullets", "", "1"},
        {"mnuColor", "Color...", "", "1"},
        {"mnuFont", "Font...", "", "1"},
        {"mnuLineSpacing", "Line Spacing"},
        {"mnuSingleSpacing", "Single", "", "1"},
        {"mnuOneAndHalfSpacing", "1.5", "", "1"},
        {"mnuDoubleSpacing", "Double", "", "1"},
        {"mnuPageBreak", "Page Break", "Ctrl+Return", "1"},
        {"mnuView", "&View"},
        {"mnuShowSeedText", "Show Seed Text", "", "1"},
        {"mnuSepView", "-"},
        {"mnuFullScreen", "&Full Screen", "F11", "1"},
        {"mnuFocus", "F&ocus"},
        {"mnuFocusOff", "Off", "", "1"},
        {"mnuFocusParagraph", "Paragraph", "", "1"},
        {"mnuFocusSentence", "Sentence", "", "1"},
        {"mnuFocusThreeLines", "Three Lines", "", "1"},
        {"mnuTypewriter", "&Typewriter Scrolling", "", "1"},
        {"mnuTheme", "T&heme"},
        {"mnuThemeLight", "Light", "", "1"},
        {"mnuThemeDark", "Dark", "", "1"},
        {"mnuThemeDesktop", "Follow Desktop", "", "1"},
        {"mnuNextDocument", "&Next Document", "Ctrl+Tab", "1"},
        {"mnuPreviousDocument", "&Previous Document", "Ctrl+Shift+Tab", "1"},
        {"mnuSepSession", "-"},
        {"mnuReopenSession", "Reopen Last Session", "", "1"},
        {"mnuSepGoals", "-"},
        {"mnuGoals", "&Goals...", "", "1"},
        {"mnuStatistics", "&Statistics...", "", "1"},
        {"mnuHelp", "Help"},
        {"mnuAbout", "About Quillmere", "", "1"},
    };
    // No two of the window's commands answer the same key, or one of them would never run.
    QHash<QKeySequence, QString> owners;
    for (const QAction* a : w->findChildren<QAction*>())
        for (const QKeySequence& keys : a->shortcuts()) {
            QVERIFY2(!owners.contains(keys),
                     qPrintable(owners.value(keys) + " and " + a->objectName() + " share " +
                                keys.toString()));
            owners.insert(keys, a->objectName());
        }
    QList<QStringList> actual;
    const std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator())
                actual << QStringList{a->objectName(), "-"};
            else if (a->menu())
                actual << QStringList{a->objectName(), a->text()};
            else
                actual << QStringList{a->objectName(), a->text(),
                                      a->shortcut().toString(QKeySequence::PortableText),
                                      a->isEnabled() ? "1" : "0"};
            if (a->menu())
                walk(a->menu()->actions());
        }
    };
    walk(w->menuBar()->actions());
    QCOMPARE(actual, expected);
    // Spelling in the locale's language, the seed text's tint and the last session are on from
    // the first start, the empty paragraph is single spaced, focus is off and the theme the
    // desktop's; no other entry starts with a mark.
    const QList<QAction*> marked{action(w, "mnuCheckSpelling"), action(w, "mnuLanguage_en_US"),
                                 action(w, "mnuSingleSpacing"), action(w, "mnuShowSeedText"),
                                 action(w, "mnuReopenSession"), action(w, "mnuFocusOff"),
                                 action(w, "mnuThemeDesktop")};
    for (QAction* a : w->menuBar()->findChildren<QAction*>())
        QVERIFY2(!a->isChecked() || marked.contains(a), qPrintable(a->objectName()));
    QVERIFY(action(w, "mnuCheckSpelling")->isChecked());
}

void tst_MainWindow::startState()
{
    frmVellumo* w = m_env->window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Untitled1 - Quillmere v1.0.1"));
    QCOMPARE(cmbFiles(w)->count(), 1);
    QCOMPARE(cmbFiles(w)->itemText(0), QStringLiteral("Untitled1"));
    QVERIFY(!cmbFiles(w)->isEditable());
    QVERIFY(txtFile(w)->Text().isEmpty());
    QVERIFY(!Timer1(w)->isActive());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cmbFiles(w)));
    QTest::keyClick(cmbFiles(w), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(txtFile(w)));
    QCOMPARE(txtFile(w)->font().pointSize(), 9);
    QCOMPARE(w->frameGeometry().topLeft(), QPoint(0, 0));
    QCOMPARE(w->frameGeometry().size(), QSize(333, 333));
}

void tst_MainWindow::geometryStoredAtCloseAndRestored()
{
    frmVellumo* w = m_env->window();
    w->move(45, 60);
    w->resize(500, 420);
    QTRY_COMPARE(w->frameGeometry().topLeft(), QPoint(45, 60));
    const QRect outer = w->frameGeometry();
    m_env->closeWindow();
    QCOMPARE(m_env->quitCalls, 1);

    QSettings stored(m_env->settingsFile(), QSettings::IniFormat);
    stored.beginGroup("Settings");
    QCOMPARE(stored.value("MainLeft").toString(), QStringLiteral("675"));
    QCOMPARE(stored.value("MainTop").toString(), QStringLiteral("900"));
    QCOMPARE(stored.value("MainWidth").toString(), QString::number(outer.width() * 15));
    QCOMPARE(stored.value("MainHeight").toString(), QString::number(outer.height() * 15));

    w = m_env->window();
    QTRY_COMPARE(w->frameGeometry(), outer);
}

void tst_MainWindow::storedGeometryFallsBack_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRect>("outer");
    QTest::newRow("robustness: values that are not numbers")
        << QStringList{"300", "left of the moon", "", "6000"} << QRect(20, 0, 333, 400);
    // Too small to use, and with the title bar far above the screen.
    QTest::newRow("robustness: unusable size and place")
        << QStringList{"1500", "-50000", "45", "-300"} << QRect(0, 0, 333, 333);
    // Beyond the screen, a window would take gigabytes, or beyond an int none would show.
    QTest::newRow("robustness: sizes far beyond the screen")
        << QStringList{"0", "0", "1e10", "1e12"}
        << QGuiApplication::primaryScreen()->availableGeometry();
}

void tst_MainWindow::storedGeometryFallsBack()
{
    QFETCH(QStringList, stored);
    QFETCH(QRect, outer);
    {
        QSettings settings(m_env->settingsFile(), QSettings::IniFormat);
        const char* const keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < 4; ++i)
            settings.setValue(QLatin1String("Settings/") + QLatin1String(keys[i]), stored[i]);
    }
    frmVellumo* w = m_env->window();
    QTRY_COMPARE(w->frameGeometry(), outer);
}

void tst_MainWindow::exitAndCloseBoxRunSameShutdown()
{
    frmVellumo* w = m_env->window();
    action(w, "mnuExit")->trigger();
    QCOMPARE(m_env->quitCalls, 1);
    QVERIFY(!w->isVisible());
    QVERIFY(QSettings(m_env->settingsFile(), QSettings::IniFormat).contains("Settings/MainHeight"));

    w = m_env->window();
    w->close();
    QCOMPARE(m_env->quitCalls, 2);
}

void tst_MainWindow::listSitsAtBottomOfClientArea_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<bool>("statusBar");
    QTest::newRow("nominal: designed size") << QSize(664, 450) << true;
    QTest::newRow("nominal: large") << QSize(1200, 900) << true;
    QTest::newRow("nominal: just over 1400 twips, too short for the status bar")
        << QSize(400, 94) << false;
    QTest::newRow("nominal: wide and short") << QSize(1400, 200) << true;
    QTest::newRow("nominal: narrow and tall") << QSize(180, 1000) << true;
    QTest::newRow("robustness: odd sizes round the same way") << QSize(667, 451) << true;
}

void tst_MainWindow::listSitsAtBottomOfClientArea()
{
    QFETCH(QSize, outer);
    QFETCH(bool, statusBar);
    frmVellumo* w = m_env->window();
    w->resize(outer);
    QTRY_COMPARE(w->size(), outer);
    QWidget* client = w->centralWidget();
    // The status bar takes the bottom of the client area, and the list sits flush on it.
    QCOMPARE(sbrVellumo(w)->isVisible(), statusBar);
    if (statusBar) {
        QCOMPARE(sbrVellumo(w)->geometry().bottom(), client->height() - 1);
        QCOMPARE(sbrVellumo(w)->width(), client->width());
    }
    QCOMPARE(cmbFiles(w)->geometry().bottom() + 1,
             statusBar ? sbrVellumo(w)->y() : client->height());
    QCOMPARE(txtFile(w)->geometry().bottom() + 1, cmbFiles(w)->y());
    QCOMPARE(txtFile(w)->y(), tbrVellumo(w)->height());
    QCOMPARE(cmbFiles(w)->width(), client->width());
    QCOMPARE(tbrVellumo(w)->width(), client->width());
    QCOMPARE(txtFile(w)->x(), -1);
}

void tst_MainWindow::onlyWidthsFollowAtOrBelowTheGuard_data()
{
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<bool>("laidOut");
    // The guard reads the outer height: 94 pixels are 1410 twips, 93 are 1395.
    QTest::newRow("nominal: lowest outer height above 1400 twips") << 94 << true;
    QTest::newRow("robustness: highest outer height at or below 1400 twips") << 93 << false;
    QTest::newRow("robustness: minimised height") << 40 << false;
}

// A minimised window reports a small height; the editor and list keep their places then.
void tst_MainWindow::onlyWidthsFollowAtOrBelowTheGuard()
{
    QFETCH(int, outerHeight);
    QFETCH(bool, laidOut);
    frmVellumo* w = m_env->window();
    w->resize(500, 400);
    QTRY_COMPARE(w->size(), QSize(500, 400));
    const QRect editor = txtFile(w)->geometry();
    const QRect list = cmbFiles(w)->geometry();

    const int frameHeight = w->frameGeometry().height() - w->height();
    w->resize(420, outerHeight - frameHeight);
    QTRY_COMPARE(w->frameGeometry().height(), outerHeight);
    QWidget* client = w->centralWidget();
    QCOMPARE(txtFile(w)->width(), client->width());
    QCOMPARE(cmbFiles(w)->width(), client->width());
    if (laidOut) {
        // Too short for the status bar too: the list takes the bottom.
        QVERIFY(sbrVellumo(w)->isHidden());
        QCOMPARE(cmbFiles(w)->geometry().bottom(), client->height() - 1);
        QCOMPARE(txtFile(w)->geometry().bottom() + 1, cmbFiles(w)->y());
    } else {
        QCOMPARE(txtFile(w)->geometry(),
                 QRect(editor.topLeft(), QSize(client->width(), editor.height())));
        QCOMPARE(cmbFiles(w)->geometry(),
                 QRect(list.topLeft(), QSize(client->width(), list.height())));
    }

    w->resize(500, 400);
    QTRY_COMPARE(w->size(), QSize(500, 400));
    QCOMPARE(txtFile(w)->geometry(), editor);
    QCOMPARE(cmbFiles(w)->geometry(), list);
}

void tst_MainWindow::everyFocusableControlIsNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("nominal: main window") << "frmVellumo";
    QTest::newRow("nominal: Go To Line") << "frmGoto";
    QTest::newRow("nominal: Find and Replace") << "frmFind";
    QTest::newRow("nominal: About box") << "frmAbout";
}

// What a screen reader says when a control gets the focus is the name the accessibility
// layer reports for it, whether set outright, taken from its caption or from a label's buddy.
void tst_MainWindow::everyFocusableControlIsNamed()
{
    QFETCH(QString, window);
    frmVellumo* w = m_env->window();
    QWidget* top = w;
    if (window == "frmGoto") {
        action(w, "mnuGoto")->trigger();
        top = search(w)->gotoDialog();
    } else if (window == "frmFind") {
        action(w, "mnuReplace")->trigger();
        top = search(w)->findDialog();
    } else if (window == "frmAbout") {
        action(w, "mnuAbout")->trigger();
        top = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<frmAbout*>(t); box && box->isVisible())
                top = box;
    }
    QVERIFY(top);
    QCOMPARE(top->objectName(), window);

    QStringList unnamed;
    int focusable = 0;
    for (QWidget* control : top->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(top) ||
            control->focusProxy())
            continue;
        ++focusable;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << control->metaObject()->className() + QLatin1Char(' ') +
                           control->objectName();
    }
    QVERIFY(focusable >= 1);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

    if (window == "frmVellumo") {
        const auto nameOf = [](QWidget* control) {
            return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        };
        // On Linux a drop-down list reports its current entry as its name and what it is
        // for as its description.
        QCOMPARE(cmbFiles(w)->accessibleName(), QStringLiteral("Open documents"));
        QCOMPARE(nameOf(cmbFiles(w)), QStringLiteral("Untitled1"));
        QCOMPARE(QAccessible::queryAccessibleInterface(cmbFiles(w))->text(QAccessible::Description),
                 QStringLiteral("Open documents"));
        QCOMPARE(nameOf(txtFile(w)), QStringLiteral("Document text"));
    }
}

// Toolbar buttons show only a picture, so their names are all a screen reader has.
void tst_MainWindow::everyToolbarButtonIsNamed()
{
    frmVellumo* w = m_env->window();
    int named = 0;
    for (QAction* entry : tbrVellumo(w)->actions()) {
        if (entry->isSeparator())
            continue;
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(tbrVellumo(w)->widgetForAction(entry));
        QVERIFY(face);
        QVERIFY2(!face->text(QAccessible::Name).isEmpty(), qPrintable(entry->objectName()));
        ++named;
    }
    QCOMPARE(named, 15);
}

void tst_MainWindow::aboutBoxIsSingleModelessAndClosesOnEnterAndEscape()
{
    frmVellumo* w = m_env->window();
    action(w, "mnuAbout")->trigger();
    auto* about = qobject_cast<frmAbout*>(QApplication::topLevelWidgets().last());
    QList<frmAbout*> boxes;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<frmAbout*>(top); box && box->isVisible())
            boxes << box;
    QCOMPARE(boxes.size(), 1);
    about = boxes.first();
    QVERIFY(!about->isModal());
    QVERIFY(w->isEnabled());
    QCOMPARE(about->windowTitle(), QStringLiteral("Quillmere ver 1.0.1"));
    QCOMPARE(about->findChild<QLabel*>("lblDescription")->text(),
             QStringLiteral("A text editor supporting seed generation word processing."));
    action(w, "mnuAbout")->trigger();
    QPointer<frmAbout> same = about;
    QVERIFY(same);

    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(!same);

    action(w, "mnuAbout")->trigger();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<frmAbout*>(top); box && box->isVisible())
            same = box;
    QVERIFY(same);
    QTest::keyClick(same->findChild<QPushButton*>("cmdOK"), Qt::Key_Return);
    QTRY_VERIFY(!same);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
