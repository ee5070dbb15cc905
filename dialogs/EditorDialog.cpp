#include "dialogs/EditorDialog.h"

#include "formats/base/Twips.h"
#include "platform/RichTextBox.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QWindow>

EditorDialog::EditorDialog(QWidget& owner, RichTextBox& editor, const QSize& innerTwips)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_owner(owner), m_editor(editor)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The design sizes were made for 8-point captions.
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(Twips::toPixels(0, 0, innerTwips.width(), innerTwips.height()).size());
}

void EditorDialog::fitCaption(QWidget* control)
{
    control->resize(qMax(control->width(), control->sizeHint().width()), control->height());
}

QPushButton* EditorDialog::addButton(const char* name, const QString& caption, const QRect& at)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(at);
    button->setAutoDefault(true);
    return button;
}

void EditorDialog::showOverMain()
{
    // A child of the main window would be disabled along with it; a transient stays usable
    // and the window manager keeps it in front of the main window.
    createWinId();
    if (QWindow* main = m_owner.windowHandle())
        windowHandle()->setTransientParent(main);
    if (!m_placed) {
        move(m_owner.geometry().center() - rect().center());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void EditorDialog::returnToEditor()
{
    hide();
    m_owner.setEnabled(true);
    m_owner.activateWindow();
    m_editor.SetFocus();
}

void EditorDialog::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}
