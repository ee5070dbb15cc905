#include "platform/BusyIndicator.h"

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
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
    });
    work([this](qint64 done, qint64 total) { step(done, total); });
}

void BusyIndicator::step(qint64 done, qint64 total)
{
    const qint64 now = m_clock();
    if (now - m_started >= progressAfterMs && total > 0) {
        if (!m_progress) {
            m_progress = new QProgressBar(&m_bar);
            m_progress->setObjectName(QStringLiteral("prgBusy"));
            m_progress->setRange(0, progressSteps);
            m_bar.addPermanentWidget(m_progress);
        }
        m_progress->setValue(
            int(std::clamp<qint64>(done * progressSteps / total, 0, progressSteps)));
        m_progress->show();
    }
    if (now - m_lastRepaint >= repaintEveryMs) {
        m_lastRepaint = now;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
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
    return QObject::eventFilter(watched, event);
}
