#include "editing/ToolbarState.h"

#include "app/frmVellumo.h"
#include "editing/EditCommands.h"
#include "editing/FormatCommands.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"

#include <QIcon>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <utility>

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

void flip(QAction* entry)
{
    entry->setChecked(!entry->isChecked());
}

} // namespace

ToolbarState::ToolbarState(frmVellumo& window) : QObject(&window), m_window(window)
{
    addButtons();
    connect(m_window.tbrVellumo(), &QToolBar::actionTriggered, this,
            &ToolbarState::tbrVellumo_ButtonClick);
    connect(m_window.txtFile(), &RichTextBox::SelChange, this, &ToolbarState::txtFile_SelChange);
}

void ToolbarState::addButtons()
{
    QToolBar* bar = m_window.tbrVellumo();
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ButtonDesign& design : designs) {
        if (!design.key) {
            bar->addSeparator();
            continue;
        }
        const QString name = QLatin1String(design.key);
        QAction* button = bar->addAction(pictureFor(design), name);
        button->setObjectName(QLatin1String("btn") + name);
        button->setData(name);
        button->setToolTip(name);
        button->setCheckable(design.check);
        bar->widgetForAction(button)->setAccessibleName(name);
    }
}

QAction* ToolbarState::button(int index) const
{
    const QList<QAction*> buttons = m_window.tbrVellumo()->actions();
    if (index < 1 || index > buttons.size())
        return nullptr;
    return buttons[index - 1];
}

QToolButton* ToolbarState::buttonWidget(int index) const
{
    QAction* action = button(index);
    return action ? qobject_cast<QToolButton*>(m_window.tbrVellumo()->widgetForAction(action))
                  : nullptr;
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

void ToolbarState::tbrVellumo_ButtonClick(QAction* button)
{
    const MainMenu& m = m_window.menu();
    EditCommands* edit = m_window.edit();
    FormatCommands* format = m_window.format();
    // Compared in this order; the first key that matches runs. The file and find commands
    // belong to other parts of the window and are reached through their menu entries.
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"New", [&] { m.mnuNew->trigger(); }},
        {"Open", [&] { m.mnuOpen->trigger(); }},
        {"Save", [&] { m.mnuSave->trigger(); }},
        {"Print", [&] { m.mnuPrint->trigger(); }},
        {"Find", [&] { m.mnuFind->trigger(); }},
        {"Cut", [&] { edit->mnuCut_Click(); }},
        {"Copy", [&] { edit->mnuCopy_Click(); }},
        {"Paste", [&] { edit->mnuPaste_Click(); }},
        {"Undo", [&] { m_window.undo()->mnuUndo_Click(); }},
        {"Bold",
         [&] {
             flip(m.mnuBold);
             format->changebold();
         }},
        {"Italic",
         [&] {
             flip(m.mnuItalic);
             format->changeitalic();
         }},
        {"Underline",
         [&] {
             flip(m.mnuUnderline);
             format->changeunderline();
         }},
        {"Color", [&] { format->mnuColor_Click(); }},
        {"Bullets",
         [&] {
             flip(m.mnuBullet);
             format->changebullet();
         }},
        {"Strikethru",
         [&] {
             flip(m.mnuStrikethru);
             format->changestrikethru();
         }},
    };
    const QString clicked = key(button);
    for (const auto& [commandKey, run] : commands) {
        if (clicked == QLatin1String(commandKey)) {
            run();
            return;
        }
    }
}

void ToolbarState::txtFile_SelChange()
{
    const MainMenu& m = m_window.menu();
    RichTextBox* txt = m_window.txtFile();
    const bool selected = !txt->SelText().isEmpty();
    m.mnuCut->setEnabled(selected);
    m.mnuCopy->setEnabled(selected);
    m.mnuDelete->setEnabled(selected);
    button(btnCut)->setEnabled(selected);
    button(btnCopy)->setEnabled(selected);
    if (selected)
        return;
    txt->setSelBold(Value(btnBold) != 0);
    txt->setSelItalic(Value(btnItalic) != 0);
    txt->setSelUnderline(Value(btnUnderline) != 0);
    txt->setSelStrikeThru(Value(btnStrikethru) != 0);
}
