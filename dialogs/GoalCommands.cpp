#include "dialogs/GoalCommands.h"

#include "dialogs/frmGoals.h"
#include "dialogs/frmStatistics.h"
#include "documents/DocumentStatistics.h"
#include "goals/GoalStatus.h"

GoalCommands::GoalCommands(QWidget& owner, GoalStatus& status, Sources sources, QObject* parent)
    : QObject(parent), m_owner(owner), m_status(status), m_sources(std::move(sources))
{
}

void GoalCommands::mnuGoals_Click()
{
    if (!m_frmGoals) {
        m_frmGoals = new frmGoals(&m_owner);
        m_frmGoals->setAttribute(Qt::WA_DeleteOnClose);
        m_frmGoals->setWindowModality(Qt::ApplicationModal);
        connect(m_frmGoals, &QDialog::accepted, this, &GoalCommands::frmGoals_Accepted);
    }
    // Other running instances may have added days since.
    m_sources.history.reload();
    const WritingGoals& goals = m_status.goals();
    m_frmGoals->setGoals(goals, goals.streak(m_sources.history.days(), m_sources.today()));
    m_frmGoals->show();
    m_frmGoals->raise();
}

void GoalCommands::frmGoals_Accepted()
{
    m_status.setGoals(m_frmGoals->goals());
    emit goalsChanged(m_status.goals());
}

void GoalCommands::mnuStatistics_Click()
{
    if (!m_frmStatistics) {
        m_frmStatistics = new frmStatistics(&m_owner);
        m_frmStatistics->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_sources.history.reload();
    m_frmStatistics->showDays(m_sources.history.days(), m_sources.today(), m_status.goals());
    m_frmStatistics->showSeed(m_sources.statistics.seedCount());
    m_frmStatistics->show();
    m_frmStatistics->raise();
}
