#include "platform/QtMessageService.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon toQt(MessageService::Icon icon)
{
    switch (icon) {
    case MessageService::Icon::Information:
        return QMessageBox::Information;
    case MessageService::Icon::Warning:
        return QMessageBox::Warning;
    case MessageService::Icon::Critical:
        return QMessageBox::Critical;
    case MessageService::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(MessageService::Button button)
{
    switch (button) {
    case MessageService::Button::Ok:
        return QMessageBox::Ok;
    case MessageService::Button::Save:
        return QMessageBox::Save;
    case MessageService::Button::SaveAs:
        return QMessageBox::SaveAll;
    case MessageService::Button::Discard:
        return QMessageBox::Discard;
    case MessageService::Button::Cancel:
        return QMessageBox::Cancel;
    case MessageService::Button::Restore:
        return QMessageBox::Yes;
    case MessageService::Button::Overwrite:
        // Qt has no Overwrite: it ignores what the file holds now, and its text says so.
        return QMessageBox::Ignore;
    case MessageService::Button::SaveAsRtf:
        return QMessageBox::Apply;
    case MessageService::Button::SaveAsOdt:
        return QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}

// A box belongs over the active window, or over the main window in the moment between a
// dialog hiding and the main window becoming active again.
QWidget* owner()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("QMainWindow"))
            return top;
    return nullptr;
}

} // namespace

void QtMessageService::MsgBox(const QString& prompt, Icon icon, const QString& title)
{
    QMessageBox box(toQt(icon), title, prompt, QMessageBox::Ok, owner());
    fitTitle(box);
    box.exec();
}

void QtMessageService::fitTitle(QMessageBox& box)
{
    // The frame's buttons and icon take room beside the title too.
    constexpr int frameButtons = 120;
    const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int wanted = title.horizontalAdvance(box.windowTitle()) + frameButtons;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

MessageService::Button QtMessageService::ask(const QString& prompt, const QList<Button>& buttons,
                                             Button defaultButton, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::NoButton, owner());
    for (Button b : buttons) {
        QAbstractButton* added = box.addButton(toQt(b));
        if (b == Button::Restore)
            added->setText(QObject::tr("Restore"));
        else if (b == Button::SaveAs)
            added->setText(QObject::tr("Save As..."));
        else if (b == Button::Overwrite)
            added->setText(QObject::tr("Overwrite"));
        else if (b == Button::SaveAsRtf)
            added->setText(QObject::tr("Save as RTF..."));
        else if (b == Button::SaveAsOdt)
            added->setText(QObject::tr("Save as ODT..."));
    }
    box.setDefaultButton(toQt(defaultButton));
    fitTitle(box);
    const auto chosen = QMessageBox::StandardButton(box.exec());
    for (Button b : buttons)
        if (toQt(b) == chosen)
            return b;
    return buttons.contains(Button::Cancel) ? Button::Cancel : buttons.constLast();
}
