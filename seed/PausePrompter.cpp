#include "seed/PausePrompter.h"

#include "seed/SeedPrompter.h"

#include <QAction>
#include <QTimer>

PausePrompter::PausePrompter(SeedPrompter& prompter, const Entries& entries,
                             std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_entries(entries), m_clock(std::move(clock))
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrPause"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &PausePrompter::tmrPause_Timer);
}

void PausePrompter::mnuPause10Sec_Click()
{
    choose(m_entries.mnuPause10Sec, 10000);
}

void PausePrompter::mnuPause30Sec_Click()
{
    choose(m_entries.mnuPause30Sec, 30000);
}

void PausePrompter::mnuPause60Sec_Click()
{
    choose(m_entries.mnuPause60Sec, 60000);
}

void PausePrompter::choose(QAction* entry, int milliseconds)
{
    if (!m_prompter.acceptsPrompts())
        return;
    m_prompter.stopTimer();
    setPause(entry, milliseconds);
    txtFile_KeyDown();
}

void PausePrompter::seed_IntervalSet()
{
    setPause(nullptr, 0);
}

void PausePrompter::setPause(QAction* entry, int milliseconds)
{
    m_pauseMs = milliseconds;
    if (milliseconds == 0)
        m_timer->stop();
    const Entries& e = m_entries;
    for (QAction* mark : {e.mnuPause10Sec, e.mnuPause30Sec, e.mnuPause60Sec})
        mark->setChecked(mark == entry);
}

void PausePrompter::txtFile_KeyDown()
{
    if (m_pauseMs == 0)
        return;
    m_lastKey = m_clock();
    m_armed = true;
    m_timer->start(m_pauseMs);
}

// The timer only says when to look: the clock says how long the writer has been still.
void PausePrompter::tmrPause_Timer()
{
    if (m_pauseMs == 0 || !m_armed)
        return;
    const qint64 still = m_clock() - m_lastKey;
    if (still < m_pauseMs) {
        m_timer->start(int(m_pauseMs - still));
        return;
    }
    m_armed = false;
    m_prompter.injectAtCaret();
}
