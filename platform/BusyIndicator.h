#pragma once

#include "formats/base/Progress.h"

#include <QObject>

#include <functional>

class QProgressBar;
class QPushButton;
class QStatusBar;

/// Shows that long work is under way: a busy cursor from its start and, once it has run for a
/// second, a progress bar in the status bar that moves with it, with a Cancel button beside it
/// for work that can stop. The window repaints meanwhile, but takes no input other than that
/// button and Escape, fires no timer and does not close until the work is done.
class BusyIndicator : public QObject
{
    Q_OBJECT

public:
    /// clock gives milliseconds that never go back.
    BusyIndicator(QStatusBar& bar, std::function<qint64()> clock, QObject* parent = nullptr);

    /// Runs work, which tells the Progress it is given how far it has come.
    void run(const std::function<void(const Progress&)>& work);
    /// Runs work as run() does, with a Cancel button beside the bar; it and Escape make the
    /// work's Progress throw ProgressCancelled. False when the work was cancelled.
    bool runCancellable(const std::function<void(const Progress&)>& work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(qint64 done, qint64 total);
    void showProgress(qint64 done, qint64 total);
    /// Whether an event is input that must not reach the window while the work runs.
    bool isHeldBack(QObject* watched, QEvent* event);
    void cmdCancel_Click();

    QStatusBar& m_bar;
    std::function<qint64()> m_clock;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    qint64 m_started = 0;
    qint64 m_lastRepaint = 0;
    bool m_cancellable = false;
    bool m_cancelled = false;
};
