#include "app/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

// Shortcuts act while the main window is active, also when the editor has the focus.
QAction* addItem(QMenu* menu, QWidget* window, const char* name, const QString& caption,
                 const QKeySequence& keys = {}, bool enabled = true, bool checkable = false)
{
    auto* action = new QAction(caption, window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(enabled);
    action->setCheckable(checkable);
    menu->addAction(action);
    window->addAction(action);
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

// The check marks are set by the commands themselves, never by a click on their own.
QAction* addMark(QMenu* menu, QWidget* window, const char* name, const QString& caption,
                 const QKeySequence& keys = {})
{
    return addItem(menu, window, name, caption, keys, true, true);
}

// One mark at most: the handlers set them from the choice they make.
void exclusive(QMenu* menu, std::initializer_list<QAction*> choices)
{
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* choice : choices)
        group->addAction(choice);
}

} // namespace

MainMenu MainMenu::build(QMenuBar* bar, QWidget* window)
{
    MainMenu m{};
    m.buildFile(bar, window);
    m.buildSeed(bar, window);
    m.buildEdit(bar, window);
    m.buildTimer(bar, window);
    m.buildFormat(bar, window);
    m.buildView(bar, window);
    m.buildHelp(bar, window);
    return m;
}

void MainMenu::buildFile(QMenuBar* bar, QWidget* window)
{
    mnuFile = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    mnuNew = addItem(mnuFile, window, "mnuNew", QStringLiteral("&New"), QKeySequence("Ctrl+N"));
    mnuOpen =
        addItem(mnuFile, window, "mnuOpen", QStringLiteral("&Open..."), QKeySequence("Ctrl+O"));
    mnuSave = addItem(mnuFile, window, "mnuSave", QStringLiteral("&Save"), QKeySequence("Ctrl+S"));
    mnuSaveas = addItem(mnuFile, window, "mnuSaveas", QStringLiteral("Save as..."));
    mnuSep1 = addSeparator(mnuFile, "mnuSep1");
    mnuPrint =
        addItem(mnuFile, window, "mnuPrint", QStringLiteral("&Print..."), QKeySequence("Ctrl+P"));
    mnuPageSetup = addItem(mnuFile, window, "mnuPageSetup", QStringLiteral("Page Set&up..."));
    mnuSep2 = addSeparator(mnuFile, "mnuSep2");
    mnuExit = addItem(mnuFile, window, "mnuExit", QStringLiteral("E&xit"));
}

void MainMenu::buildSeed(QMenuBar* bar, QWidget* window)
{
    mnuSeed = addMenu(bar, "mnuSeed", QStringLiteral("Seed"));
    mnuSelectSeed = addSubmenu(mnuSeed, "mnuSelectSeed", QStringLiteral("Select Seed"));
    mnuNewSeed = addMark(mnuSelectSeed, window, "mnuNewSeed", QStringLiteral("New Seed"),
                         QKeySequence("Shift+Ins"));
    mnuSeedOne = addMark(mnuSelectSeed, window, "mnuSeedOne", QStringLiteral("Seed One"));
    mnuSeedTwo = addMark(mnuSelectSeed, window, "mnuSeedTwo", QStringLiteral("Seed Two"));
    mnuSeedThree = addMark(mnuSelectSeed, window, "mnuSeedThree", QStringLiteral("Seed Three"));
    mnuSepSeeds = addSeparator(mnuSelectSeed, "mnuSepSeeds");
    for (size_t index = 0; index < mnuRecentSeed.size(); ++index) {
        const QByteArray name = "mnuRecentSeed" + QByteArray::number(qsizetype(index + 1));
        mnuRecentSeed[index] = addItem(mnuSelectSeed, window, name.constData(), QString());
    }
    mnuSepManage = addSeparator(mnuSelectSeed, "mnuSepManage");
    mnuManageSeeds =
        addItem(mnuSelectSeed, window, "mnuManageSeeds", QStringLiteral("Manage Seeds..."));
    mnuInject =
        addItem(mnuSeed, window, "mnuInject", QStringLiteral("Inject Seed"), QKeySequence("F8"));
    mnuReroll = addItem(mnuSeed, window, "mnuReroll", QStringLiteral("Reroll"),
                        QKeySequence("Ctrl+F8"), false);
}

void MainMenu::buildEdit(QMenuBar* bar, QWidget* window)
{
    mnuEdit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    mnuUndo = addItem(mnuEdit, window, "mnuUndo", QStringLiteral("Undo"), QKeySequence("Ctrl+Z"));
    mnuSep3 = addSeparator(mnuEdit, "mnuSep3");
    mnuCut =
        addItem(mnuEdit, window, "mnuCut", QStringLiteral("Cut"), QKeySequence("Ctrl+X"), false);
    mnuCopy =
        addItem(mnuEdit, window, "mnuCopy", QStringLiteral("Copy"), QKeySequence("Ctrl+C"), false);
    // The older keys too, or the editor would copy and cut them as plain text of its own.
    mnuCut->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
    mnuCopy->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
    mnuPaste =
        addItem(mnuEdit, window, "mnuPaste", QStringLiteral("Paste"), QKeySequence("Ctrl+V"));
    mnuDelete =
        addItem(mnuEdit, window, "mnuDelete", QStringLiteral("Delete"), QKeySequence("Del"), false);
    mnuSep4 = addSeparator(mnuEdit, "mnuSep4");
    mnuFind =
        addItem(mnuEdit, window, "mnuFind", QStringLiteral("Find..."), QKeySequence("Ctrl+F"));
    mnuReplace =
        addItem(mnuEdit, window, "mnuReplace", QStringLiteral("Replace"), QKeySequence("Ctrl+H"));
    mnuGoto =
        addItem(mnuEdit, window, "mnuGoto", QStringLiteral("Go to..."), QKeySequence("Ctrl+G"));
    mnuSep5 = addSeparator(mnuEdit, "mnuSep5");
    mnuSelectall = addItem(mnuEdit, window, "mnuSelectall", QStringLiteral("Select All"),
                           QKeySequence("Ctrl+A"));
    mnuSep6 = addSeparator(mnuEdit, "mnuSep6");
    mnuCheckSpelling =
        addMark(mnuEdit, window, "mnuCheckSpelling", QStringLiteral("Check Spelling"));
    mnuSpellingLanguage =
        addSubmenu(mnuEdit, "mnuSpellingLanguage", QStringLiteral("Spelling Language"));
    // The entry says why it is disabled where there is no dictionary.
    mnuEdit->setToolTipsVisible(true);
}

void MainMenu::addSpellingLanguages(QWidget* window, const QList<SpellDictionary>& installed)
{
    auto* languages = new QActionGroup(mnuSpellingLanguage);
    languages->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const SpellDictionary& dictionary : installed) {
        const QByteArray name = "mnuLanguage_" + dictionary.name.toUtf8();
        QAction* language =
            addMark(mnuSpellingLanguage, window, name.constData(), dictionary.languageName());
        language->setData(dictionary.name);
        languages->addAction(language);
        mnuLanguages << language;
    }
    mnuSpellingLanguage->menuAction()->setEnabled(!installed.isEmpty());
}

void MainMenu::buildTimer(QMenuBar* bar, QWidget* window)
{
    mnuTimer = addMenu(bar, "mnuTimer", QStringLiteral("&Timer"));
    mnu0Sec =
        addMark(mnuTimer, window, "mnu0Sec", QStringLiteral("Freeze block"), QKeySequence("F1"));
    mnu600Sec = addMark(mnuTimer, window, "mnu600Sec", QStringLiteral("10 minutes ..."),
                        QKeySequence("F2"));
    mnu300Sec =
        addMark(mnuTimer, window, "mnu300Sec", QStringLiteral("5 minutes ..."), QKeySequence("F3"));
    mnu30Sec =
        addMark(mnuTimer, window, "mnu30Sec", QStringLiteral("30 seconds ..."), QKeySequence("F4"));
    mnu20Sec =
        addMark(mnuTimer, window, "mnu20Sec", QStringLiteral("20 seconds ..."), QKeySequence("F5"));
    mnu10Sec =
        addMark(mnuTimer, window, "mnu10Sec", QStringLiteral("10 seconds ..."), QKeySequence("F6"));
    mnuPause10Sec =
        addMark(mnuTimer, window, "mnuPause10Sec", QStringLiteral("When I pause 10 seconds"));
    mnuPause30Sec =
        addMark(mnuTimer, window, "mnuPause30Sec", QStringLiteral("When I pause 30 seconds"));
    mnuPause60Sec =
        addMark(mnuTimer, window, "mnuPause60Sec", QStringLiteral("When I pause 60 seconds"));
}

void MainMenu::buildFormat(QMenuBar* bar, QWidget* window)
{
    mnuFormat = addMenu(bar, "mnuFormat", QStringLiteral("Format"));
    // The keys every word processor gives these three.
    mnuBold = addMark(mnuFormat, window, "mnuBold", QStringLiteral("Bold"), QKeySequence("Ctrl+B"));
    mnuItalic =
        addMark(mnuFormat, window, "mnuItalic", QStringLiteral("Italic"), QKeySequence("Ctrl+I"));
    mnuUnderline = addMark(mnuFormat, window, "mnuUnderline", QStringLiteral("Underline"),
                           QKeySequence("Ctrl+U"));
    mnuStrikethru = addMark(mnuFormat, window, "mnuStrikethru", QStringLiteral("Strikethru"));
    mnuBullet = addMark(mnuFormat, window, "mnuBullet", QStringLiteral("Bullets"));
    mnuColor = addItem(mnuFormat, window, "mnuColor", QStringLiteral("Color..."));
    mnuFont = addItem(mnuFormat, window, "mnuFont", QStringLiteral("Font..."));
    mnuLineSpacing = addSubmenu(mnuFormat, "mnuLineSpacing", QStringLiteral("Line Spacing"));
    mnuSingleSpacing =
        addMark(mnuLineSpacing, window, "mnuSingleSpacing", QStringLiteral("Single"));
    mnuOneAndHalfSpacing =
        addMark(mnuLineSpacing, window, "mnuOneAndHalfSpacing", QStringLiteral("1.5"));
    mnuDoubleSpacing =
        addMark(mnuLineSpacing, window, "mnuDoubleSpacing", QStringLiteral("Double"));
    // One mark at most: the handler sets them from the caret's paragraph.
    auto* spacings = new QActionGroup(mnuLineSpacing);
    spacings->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* spacing : {mnuSingleSpacing, mnuOneAndHalfSpacing, mnuDoubleSpacing})
        spacings->addAction(spacing);
    mnuPageBreak = addItem(mnuFormat, window, "mnuPageBreak", QStringLiteral("Page Break"),
                           QKeySequence("Ctrl+Return"));
    // The keypad's Enter as well as the main one.
    mnuPageBreak->setShortcuts({QKeySequence("Ctrl+Return"), QKeySequence("Ctrl+Enter")});
}

void MainMenu::buildView(QMenuBar* bar, QWidget* window)
{
    mnuView = addMenu(bar, "mnuView", QStringLiteral("&View"));
    mnuShowSeedText = addMark(mnuView, window, "mnuShowSeedText", QStringLiteral("Show Seed Text"));
    mnuSepView = addSeparator(mnuView, "mnuSepView");
    mnuFullScreen = addMark(mnuView, window, "mnuFullScreen", QStringLiteral("&Full Screen"),
                            QKeySequence("F11"));
    mnuFocus = addSubmenu(mnuView, "mnuFocus", QStringLiteral("F&ocus"));
    mnuFocusOff = addMark(mnuFocus, window, "mnuFocusOff", QStringLiteral("Off"));
    mnuFocusParagraph = addMark(mnuFocus, window, "mnuFocusParagraph", QStringLiteral("Paragraph"));
    mnuFocusSentence = addMark(mnuFocus, window, "mnuFocusSentence", QStringLiteral("Sentence"));
    mnuFocusThreeLines =
        addMark(mnuFocus, window, "mnuFocusThreeLines", QStringLiteral("Three Lines"));
    exclusive(mnuFocus, {mnuFocusOff, mnuFocusParagraph, mnuFocusSentence, mnuFocusThreeLines});
    mnuTypewriter =
        addMark(mnuView, window, "mnuTypewriter", QStringLiteral("&Typewriter Scrolling"));
    mnuTheme = addSubmenu(mnuView, "mnuTheme", QStringLiteral("T&heme"));
    mnuThemeLight = addMark(mnuTheme, window, "mnuThemeLight", QStringLiteral("Light"));
    mnuThemeDark = addMark(mnuTheme, window, "mnuThemeDark", QStringLiteral("Dark"));
    mnuThemeDesktop =
        addMark(mnuTheme, window, "mnuThemeDesktop", QStringLiteral("Follow Desktop"));
    exclusive(mnuTheme, {mnuThemeLight, mnuThemeDark, mnuThemeDesktop});
    mnuNextDocument = addItem(mnuView, window, "mnuNextDocument", QStringLiteral("&Next Document"),
                              QKeySequence("Ctrl+Tab"));
    mnuPreviousDocument =
        addItem(mnuView, window, "mnuPreviousDocument", QStringLiteral("&Previous Document"),
                QKeySequence("Ctrl+Shift+Tab"));
    mnuSepSession = addSeparator(mnuView, "mnuSepSession");
    mnuReopenSession =
        addMark(mnuView, window, "mnuReopenSession", QStringLiteral("Reopen Last Session"));
    mnuSepGoals = addSeparator(mnuView, "mnuSepGoals");
    mnuGoals = addItem(mnuView, window, "mnuGoals", QStringLiteral("&Goals..."));
    mnuStatistics = addItem(mnuView, window, "mnuStatistics", QStringLiteral("&Statistics..."));
}

void MainMenu::buildHelp(QMenuBar* bar, QWidget* window)
{
    mnuHelp = addMenu(bar, "mnuHelp", QStringLiteral("Help"));
    mnuAbout = addItem(mnuHelp, window, "mnuAbout", QStringLiteral("About Quillmere"));
}
