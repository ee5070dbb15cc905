#include "app/MainMenu.h"

#include <QAction>
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

} // namespace

MainMenu MainMenu::build(QMenuBar* bar, QWidget* window)
{
    MainMenu m{};
    m.mnuFile = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    m.mnuNew = addItem(m.mnuFile, window, "mnuNew", QStringLiteral("&New"), QKeySequence("Ctrl+N"));
    m.mnuOpen =
        addItem(m.mnuFile, window, "mnuOpen", QStringLiteral("&Open..."), QKeySequence("Ctrl+O"));
    m.mnuSave =
        addItem(m.mnuFile, window, "mnuSave", QStringLiteral("&Save"), QKeySequence("Ctrl+S"));
    m.mnuSaveas = addItem(m.mnuFile, window, "mnuSaveas", QStringLiteral("Save as..."));
    m.mnuSep1 = addSeparator(m.mnuFile, "mnuSep1");
    m.mnuPrint =
        addItem(m.mnuFile, window, "mnuPrint", QStringLiteral("&Print..."), QKeySequence("Ctrl+P"));
    m.mnuSep2 = addSeparator(m.mnuFile, "mnuSep2");
    m.mnuExit = addItem(m.mnuFile, window, "mnuExit", QStringLiteral("E&xit"));

    m.mnuSeed = addMenu(bar, "mnuSeed", QStringLiteral("Seed"));
    m.mnuSelectSeed = addSubmenu(m.mnuSeed, "mnuSelectSeed", QStringLiteral("Select Seed"));
    m.mnuNewSeed = addMark(m.mnuSelectSeed, window, "mnuNewSeed", QStringLiteral("New Seed"),
                           QKeySequence("Shift+Ins"));
    m.mnuSeedOne = addMark(m.mnuSelectSeed, window, "mnuSeedOne", QStringLiteral("Seed One"));
    m.mnuSeedTwo = addMark(m.mnuSelectSeed, window, "mnuSeedTwo", QStringLiteral("Seed Two"));
    m.mnuSeedThree = addMark(m.mnuSelectSeed, window, "mnuSeedThree", QStringLiteral("Seed Three"));
    m.mnuInject =
        addItem(m.mnuSeed, window, "mnuInject", QStringLiteral("Inject Seed"), QKeySequence("F8"));

    m.mnuEdit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    m.mnuUndo =
        addItem(m.mnuEdit, window, "mnuUndo", QStringLiteral("Undo"), QKeySequence("Ctrl+Z"));
    m.mnuSep3 = addSeparator(m.mnuEdit, "mnuSep3");
    m.mnuCut =
        addItem(m.mnuEdit, window, "mnuCut", QStringLiteral("Cut"), QKeySequence("Ctrl+X"), false);
    m.mnuCopy = addItem(m.mnuEdit, window, "mnuCopy", QStringLiteral("Copy"),
                        QKeySequence("Ctrl+C"), false);
    // The older keys too, or the editor would copy and cut them as plain text of its own.
    m.mnuCut->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
    m.mnuCopy->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
    m.mnuPaste =
        addItem(m.mnuEdit, window, "mnuPaste", QStringLiteral("Paste"), QKeySequence("Ctrl+V"));
    m.mnuDelete = addItem(m.mnuEdit, window, "mnuDelete", QStringLiteral("Delete"),
                          QKeySequence("Del"), false);
    m.mnuSep4 = addSeparator(m.mnuEdit, "mnuSep4");
    m.mnuFind =
        addItem(m.mnuEdit, window, "mnuFind", QStringLiteral("Find..."), QKeySequence("Ctrl+F"));
    m.mnuReplace =
        addItem(m.mnuEdit, window, "mnuReplace", QStringLiteral("Replace"), QKeySequence("Ctrl+H"));
    m.mnuGoto =
        addItem(m.mnuEdit, window, "mnuGoto", QStringLiteral("Go to..."), QKeySequence("Ctrl+G"));
    m.mnuSep5 = addSeparator(m.mnuEdit, "mnuSep5");
    m.mnuSelectall = addItem(m.mnuEdit, window, "mnuSelectall", QStringLiteral("Select All"),
                             QKeySequence("Ctrl+A"));
    m.mnuSep6 = addSeparator(m.mnuEdit, "mnuSep6");
    m.mnuCheckSpelling =
        addMark(m.mnuEdit, window, "mnuCheckSpelling", QStringLiteral("Check Spelling"));
    // The entry says why it is disabled where there is no dictionary.
    m.mnuEdit->setToolTipsVisible(true);

    m.mnuTimer = addMenu(bar, "mnuTimer", QStringLiteral("&Timer"));
    m.mnu0Sec =
        addMark(m.mnuTimer, window, "mnu0Sec", QStringLiteral("Freeze block"), QKeySequence("F1"));
    m.mnu600Sec = addMark(m.mnuTimer, window, "mnu600Sec", QStringLiteral("10 minutes ..."),
                          QKeySequence("F2"));
    m.mnu300Sec = addMark(m.mnuTimer, window, "mnu300Sec", QStringLiteral("5 minutes ..."),
                          QKeySequence("F3"));
    m.mnu30Sec = addMark(m.mnuTimer, window, "mnu30Sec", QStringLiteral("30 seconds ..."),
                         QKeySequence("F4"));
    m.mnu20Sec = addMark(m.mnuTimer, window, "mnu20Sec", QStringLiteral("20 seconds ..."),
                         QKeySequence("F5"));
    m.mnu10Sec = addMark(m.mnuTimer, window, "mnu10Sec", QStringLiteral("10 seconds ..."),
                         QKeySequence("F6"));

    m.mnuFormat = addMenu(bar, "mnuFormat", QStringLiteral("Format"));
    // The keys every word processor gives these three.
    m.mnuBold =
        addMark(m.mnuFormat, window, "mnuBold", QStringLiteral("Bold"), QKeySequence("Ctrl+B"));
    m.mnuItalic =
        addMark(m.mnuFormat, window, "mnuItalic", QStringLiteral("Italic"), QKeySequence("Ctrl+I"));
    m.mnuUnderline = addMark(m.mnuFormat, window, "mnuUnderline", QStringLiteral("Underline"),
                             QKeySequence("Ctrl+U"));
    m.mnuStrikethru = addMark(m.mnuFormat, window, "mnuStrikethru", QStringLiteral("Strikethru"));
    m.mnuBullet = addMark(m.mnuFormat, window, "mnuBullet", QStringLiteral("Bullets"));
    m.mnuColor = addItem(m.mnuFormat, window, "mnuColor", QStringLiteral("Color..."));
    m.mnuFont = addItem(m.mnuFormat, window, "mnuFont", QStringLiteral("Font..."));

    m.mnuHelp = addMenu(bar, "mnuHelp", QStringLiteral("Help"));
    m.mnuAbout = addItem(m.mnuHelp, window, "mnuAbout", QStringLiteral("About Quillmere"));
    return m;
}
