#include "app/MainToolbar.h"

#include "app/MainMenu.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>
#include <QWidget>

namespace {

/// One place on the toolbar; a separator has no entry.
struct Button
{
    QAction* MainMenu::*entry;
    const char* themeIcon;
    const char* picture;
};

// The toolbar as designed, in its order: places 4, 6, 8, 13 and 19 are separators.
constexpr Button buttons[] = {
    {&MainMenu::mnuNew, "document-new", "new"},
    {&MainMenu::mnuOpen, "document-open", "open"},
    {&MainMenu::mnuSave, "document-save", "save"},
    {nullptr, nullptr, nullptr},
    {&MainMenu::mnuPrint, "document-print", "print"},
    {nullptr, nullptr, nullptr},
    {&MainMenu::mnuFind, "edit-find", "find"},
    {nullptr, nullptr, nullptr},
    {&MainMenu::mnuCut, "edit-cut", "cut"},
    {&MainMenu::mnuCopy, "edit-copy", "copy"},
    {&MainMenu::mnuPaste, "edit-paste", "paste"},
    {&MainMenu::mnuUndo, "edit-undo", "undo"},
    {nullptr, nullptr, nullptr},
    {&MainMenu::mnuBold, "format-text-bold", "bold"},
    {&MainMenu::mnuItalic, "format-text-italic", "italic"},
    {&MainMenu::mnuUnderline, "format-text-underline", "underline"},
    {&MainMenu::mnuStrikethru, "format-text-strikethrough", "strikethrough"},
    {&MainMenu::mnuColor, "format-text-color", "color"},
    {nullptr, nullptr, nullptr},
    {&MainMenu::mnuBullet, "format-list-unordered", "bullets"},
};

// The theme's picture where the desktop has one, else our own drawing.
QIcon pictureFor(const Button& button)
{
    const QIcon own(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(button.picture)));
    return QIcon::fromTheme(QLatin1String(button.themeIcon), own);
}

} // namespace

void MainToolbar::build(QToolBar& bar, const MainMenu& menu)
{
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button& button : buttons) {
        if (!button.entry) {
            bar.addSeparator();
            continue;
        }
        QAction* entry = menu.*button.entry;
        entry->setIcon(pictureFor(button));
        // The menus stay as designed, captions only.
        entry->setIconVisibleInMenu(false);
        bar.addAction(entry);
        // The tooltip is the caption without its access key and dots: "Open", "Color".
        bar.widgetForAction(entry)->setAccessibleName(entry->toolTip());
    }
}
