#include "app/FullScreen.h"

#include "app/LayoutRule.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFontInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

namespace {

// The pointer rests at an edge when it stays within these pixels for two looks at it.
constexpr int edgePixels = 2;
constexpr int restingPolls = 2;
constexpr int pollMs = 150;

} // namespace

FullScreen::FullScreen(QMainWindow& window, RichTextBox& editor, const Controls& controls,
                       QAction& mnuFullScreen, QObject* parent)
    : QObject(parent), m_window(window), m_editor(editor), m_controls(controls),
      m_mnuFullScreen(mnuFullScreen), m_tmrEdge(new QTimer(this))
{
    m_tmrEdge->setInterval(pollMs);
    connect(m_tmrEdge, &QTimer::timeout, this, &FullScreen::tmrEdge_Timer);
    // Over the text, the bars must hide it.
    m_controls.toolbar->setAutoFillBackground(true);
    m_controls.status->setAutoFillBackground(true);
}

void FullScreen::mnuFullScreen_Click()
{
    m_on = !m_on;
    m_mnuFullScreen.setChecked(m_on);
    // Esc leaves full screen, and only then belongs to it.
    m_mnuFullScreen.setShortcuts(
        m_on ? QList<QKeySequence>{QKeySequence(Qt::Key_F11), QKeySequence(Qt::Key_Escape)}
             : QList<QKeySequence>{QKeySequence(Qt::Key_F11)});
    if (m_on) {
        m_normalOuter = m_window.frameGeometry();
        m_editorPlace = m_editor.pos();
        m_stateBefore = m_window.windowState();
        showTop(false);
        showBottom(false);
        m_tmrEdge->start();
        m_window.setWindowState(m_stateBefore | Qt::WindowFullScreen);
    } else {
        m_tmrEdge->stop();
        showTop(true);
        showBottom(true);
        m_editor.setViewMargins({});
        m_editor.move(m_editorPlace);
        m_window.setWindowState(m_stateBefore & ~Qt::WindowFullScreen);
    }
    emit changed();
}

void FullScreen::layOut()
{
    const QRect client = m_window.centralWidget()->rect();
    // The menu bar, when it comes back, pushes the client area down: the text reaches up under
    // it, so it stays where it is on the screen.
    const int under = m_window.centralWidget()->y();
    m_editor.setGeometry(client.adjusted(0, -under, 0, 0));
    const QMargins margins = m_editor.viewMargins();
    const int room = m_editor.viewport()->width() + margins.left() + margins.right();
    const int column =
        LayoutRule::fullScreenColumn(QFontInfo(m_editor.document()->defaultFont()).pixelSize(),
                                     qRound(12.0 * m_editor.logicalDpiY() / 72.0), room);
    const int side = qMax(0, (room - column) / 2);
    m_editor.setViewMargins(QMargins(side, 0, side, 0));
    const int toolbar = m_controls.toolbar->sizeHint().height();
    const int status = m_controls.status->sizeHint().height();
    const int list = m_controls.list->sizeHint().height();
    m_controls.toolbar->setGeometry(0, 0, client.width(), toolbar);
    m_controls.status->setGeometry(0, client.height() - status, client.width(), status);
    m_controls.list->setGeometry(0, client.height() - status - list, client.width(), list);
    for (QWidget* control :
         {static_cast<QWidget*>(m_controls.toolbar), static_cast<QWidget*>(m_controls.list),
          static_cast<QWidget*>(m_controls.status)})
        control->raise();
}

// The controls at an edge come while the pointer rests there, and go once it leaves them for
// the text; a menu open from the menu bar keeps them. The menu bar taken from the keyboard
// (Alt, Alt+F) brings the top ones, so the writer sees what the keys go through.
void FullScreen::tmrEdge_Timer()
{
    const auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const bool menuInUse = m_controls.menu->activeAction() ||
                           (popup && m_controls.menu->actions().contains(popup->menuAction()));
    if (menuInUse && m_controls.toolbar->isHidden())
        showTop(true);
    if (menuInUse || QApplication::activePopupWidget())
        return;
    const QPoint pointer = QCursor::pos();
    const int y = m_window.mapFromGlobal(pointer).y();
    const bool atTop = y <= edgePixels;
    const bool atBottom = y >= m_window.height() - 1 - edgePixels;
    m_restingPolls = atTop || atBottom ? m_restingPolls + 1 : 0;
    const bool rested = m_restingPolls >= restingPolls;
    const bool overTop =
        m_controls.toolbar->mapFromGlobal(pointer).y() < m_controls.toolbar->height();
    const bool overBottom = m_controls.list->mapFromGlobal(pointer).y() >= 0;
    const bool topShown = !m_controls.toolbar->isHidden();
    const bool bottomShown = !m_controls.status->isHidden();
    if (const bool top = topShown ? overTop || atTop : rested && atTop; top != topShown)
        showTop(top);
    if (const bool bottom = bottomShown ? overBottom || atBottom : rested && atBottom;
        bottom != bottomShown)
        showBottom(bottom);
}

void FullScreen::showTop(bool shown)
{
    m_controls.menu->setMaximumHeight(shown ? QWIDGETSIZE_MAX : 0);
    m_controls.toolbar->setVisible(shown);
    m_restingPolls = 0;
}

void FullScreen::showBottom(bool shown)
{
    if (shown)
        layOut();
    m_controls.list->setVisible(shown);
    m_controls.status->setVisible(shown);
    m_restingPolls = 0;
}
