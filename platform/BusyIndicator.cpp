#include "platform/BusyIndicator.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>

#include <algorithm>

namespace {
constexpr qint64 progressAfterMs = 1000;
constexpr qint64 repaintEveryMs = 50;
constexpr int progressSteps = 1000;
} // namespace

BusyIndicator::BusyIndicator(QStatusBar& bar, std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_bar(bar), m_clock(std::move(clock))
{
}

void BusyIndicator::run(const std::function<void(const Progress&)>& work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    m_started = m_lastRepaint = m_clock();
    const auto restore = qScopeGuard([this] {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
        if (m_progress)
            m_progress->hide();
        if (m_cmdCancel)
            m_cmdCancel->hide();
    });
    work([this](qint64 done, qint64 total) { step(done, total); });
}

bool BusyIndicator::runCancellable(const std::function<void(const Progress&)>& work)
{
    m_cancellable = true;
    m_cancelled = false;
    const auto restore = qScopeGuard([this] { m_cancellable = false; });
    try {
        run(work);
    } catch (const ProgressCancelled&) {
        return false;
    }
    return true;
}

void BusyIndicator::step(qint64 done, qint64 total)
{
    const qint64 now = m_clock();
    if (now - m_started >= progressAfterMs && total > 0)
        showProgress(done, total);
    if (now - m_lastRepaint >= repaintEveryMs) {
        m_lastRepaint = now;
        // Work that can be cancelled lets input in for its Cancel button; the filter holds
        // the rest back. Other work leaves input queued until it is done.
        QCoreApplication::processEvents(m_cancellable ? QEventLoop::AllEvents
                                                      : QEventLoop::ExcludeUserInputEvents);
    }
    if (m_cancelled)
        throw ProgressCancelled();
}

void BusyIndicator::showProgress(qint64 done, qint64 total)
{
    if (!m_progress) {
        m_progress = new QProgressBar(&m_bar);
        m_progress->setObjectName(QStringLiteral("prgBusy"));
        m_progress->setRange(0, progressSteps);
        m_bar.addPermanentWidget(m_progress);
        m_cmdCancel = new QPushButton(tr("Cancel"), &m_bar);
        m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
        m_cmdCancel->setFocusPolicy(Qt::NoFocus);
        m_cmdCancel->hide();
        m_bar.addPermanentWidget(m_cmdCancel);
        connect(m_cmdCancel, &QPushButton::clicked, this, &BusyIndicator::cmdCancel_Click);
    }
    m_progress->setValue(int(std::clamp<qint64>(done * progressSteps / total, 0, progressSteps)));
    m_progress->show();
    m_cmdCancel->setVisible(m_cancellable);
}

void BusyIndicator::cmdCancel_Click()
{
    m_cancelled = true;
}

// A timer or a close in the middle of reading or writing would act on a document in between
// states; held back, timers fire once the work is done and the window can be closed again.
bool BusyIndicator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Timer)
        return true;
    if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return isHeldBack(watched, event) || QObject::eventFilter(watched, event);
}

// Keys never reach a widget, nor fire a menu's shortcut: accepting the override makes a key a
// plain key press, which is dropped here, Escape after it cancels. Clicks and drops reach only
// the Cancel button; the window passes a click on to the widget under it, so it gets them.
bool BusyIndicator::isHeldBack(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (m_cancellable && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            m_cancelled = true;
        return true;
    case QEvent::Shortcut:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return event->isInputEvent() && watched->isWidgetType() && watched != m_cmdCancel;
    }
}
