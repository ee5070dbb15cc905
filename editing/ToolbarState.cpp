#include "editing/ToolbarState.h"

#include "app/MainMenu.h"
#include "platform/RichTextBox.h"

#include <QIcon>
#include <QToolBar>
#include <QToolButton>

namespace {

/// One position of the toolbar; a separator has no key. The key doubles as the command's name.
struct ButtonDesign
{
    const char* key;
    const char* themeIcon;
    const char* picture;
    bool check;
};

// The toolbar as designed, in its order: positions 4, 6, 8, 13 and 19 are separators.
constexpr ButtonDesign designs[ToolbarState::buttonCount] = {
    {"New", "document-new", "new", false},
    {"Open", "document-open", "open", false},
    {"Save", "document-save", "save", false},
    {nullptr, nullptr, nullptr, false},
    {"Print", "document-print", "print", false},
    {nullptr, nullptr, nullptr, false},
    {"Find", "edit-find", "find", false},
    {nullptr, nullptr, nullptr, false},
    {"Cut", "edit-cut", "cut", false},
    {"Copy", "edit-copy", "copy", false},
    {"Paste", "edit-paste", "paste", false},
    {"Undo", "edit-undo", "undo", false},
    {nullptr, nullptr, nullptr, false},
    {"Bold", "format-text-bold", "bold", true},
    {"Italic", "format-text-italic", "italic", true},
    {"Underline", "format-text-underline", "underline", true},
    {"Strikethru", "format-text-strikethrough", "strikethrough", true},
    {"Color", "format-text-color", "color", false},
    {nullptr, nullptr, nullptr, false},
    {"Bullets", "format-list-unordered", "bullets", true},
};

// The theme's picture where the desktop has one, else our own drawing.
QIcon pictureFor(const ButtonDesign& design)
{
    const QIcon own(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(design.picture)));
    return QIcon::fromTheme(QLatin1String(design.themeIcon), own);
}

} // namespace

ToolbarState::ToolbarState(QToolBar& bar, RichTextBox& editor, const MainMenu& menu,
                           QObject* parent)
    : QObject(parent), m_bar(bar), m_editor(editor), m_menu(menu)
{
    addButtons();
}

void ToolbarState::addButtons()
{
    m_bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ButtonDesign& design : designs) {
        if (!design.key) {
            m_bar.addSeparator();
            continue;
        }
        const QString name = QLatin1String(design.key);
        QAction* button = m_bar.addAction(pictureFor(design), name);
        button->setObjectName(QLatin1String("btn") + name);
        button->setData(name);
        button->setToolTip(name);
        button->setCheckable(design.check);
        m_bar.widgetForAction(button)->setAccessibleName(name);
    }
}

QAction* ToolbarState::button(int index) const
{
    const QList<QAction*> buttons = m_bar.actions();
    if (index < 1 || index > buttons.size())
        return nullptr;
    return buttons[index - 1];
}

QToolButton* ToolbarState::buttonWidget(int index) const
{
    QAction* action = button(index);
    return action ? qobject_cast<QToolButton*>(m_bar.widgetForAction(action)) : nullptr;
}

QString ToolbarState::key(const QAction* button)
{
    return button ? button->data().toString() : QString();
}

int ToolbarState::Value(int index) const
{
    const QAction* action = button(index);
    return action && action->isChecked() ? 1 : 0;
}

void ToolbarState::setValue(int index, int value)
{
    if (QAction* action = button(index))
        action->setChecked(value != 0);
}

// The first key that matches runs; a key that matches none does nothing.
void ToolbarState::tbrVellumo_ButtonClick(QAction* button)
{
    const QString clicked = key(button);
    for (const auto& [commandKey, run] : m_commands) {
        if (clicked == commandKey) {
            run();
            return;
        }
    }
}

void ToolbarState::txtFile_SelChange()
{
    const bool selected = !m_editor.SelText().isEmpty();
    m_menu.mnuCut->setEnabled(selected);
    m_menu.mnuCopy->setEnabled(selected);
    m_menu.mnuDelete->setEnabled(selected);
    button(btnCut)->setEnabled(selected);
    button(btnCopy)->setEnabled(selected);
    if (selected)
        return;
    m_editor.setSelBold(Value(btnBold) != 0);
    m_editor.setSelItalic(Value(btnItalic) != 0);
    m_editor.setSelUnderline(Value(btnUnderline) != 0);
    m_editor.setSelStrikeThru(Value(btnStrikethru) != 0);
}
