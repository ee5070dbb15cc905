#include "app/FullScreen.h"

#include "platform/RichTextBox.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QFontInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

namespace {

// A column about forty of the text's ems wide reads comfortably; wider lines tire the eye.
constexpr int columnEms = 40;
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
        showControls(false);
        m_tmrEdge->start();
        m_window.setWindowState(m_stateBefore | Qt::WindowFullScreen);
    } else {
        m_tmrEdge->stop();
        m_editor.setViewMargins({});
        m_editor.move(m_editorPlace);
        showControls(true);
        m_window.setWindowState(m_stateBefore & ~Qt::WindowFullScreen);
    }
    emit changed();
}

void FullScreen::layOut()
{
    const QRect client = m_window.centralWidget()->rect();
    m_editor.setGeometry(client);
    const int column = columnEms * QFontInfo(m_editor.document()->defaultFont()).pixelSize();
    const int side = qMax(0, (m_editor.viewport()->width() + m_editor.viewMargins().left() +
                              m_editor.viewMargins().right() - column) /
                                 2);
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

// The controls come while the pointer rests at the top or bottom edge, and go once it
// leaves them for the text.
void FullScreen::tmrEdge_Timer()
{
    const int y = m_window.mapFromGlobal(QCursor::pos()).y();
    const bool atEdge = y <= edgePixels || y >= m_window.height() - 1 - edgePixels;
    if (!controlsShown()) {
        m_restingPolls = atEdge ? m_restingPolls + 1 : 0;
        if (m_restingPolls >= restingPolls) {
            layOut();
            showControls(true);
        }
        return;
    }
    const int inClient = m_window.centralWidget()->mapFromGlobal(QCursor::pos()).y();
    const bool overControls = inClient <= m_controls.toolbar->geometry().bottom() ||
                              inClient >= m_controls.list->geometry().top();
    if (!overControls && !atEdge)
        showControls(false);
}

void FullScreen::showControls(bool shown)
{
    m_restingPolls = 0;
    m_controls.toolbar->setVisible(shown);
    m_controls.list->setVisible(shown);
    m_controls.status->setVisible(shown);
}

bool FullScreen::controlsShown() const
{
    return m_controls.toolbar->isVisible();
}
