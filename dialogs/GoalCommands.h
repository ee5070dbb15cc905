#pragma once

#include "goals/WritingGoals.h"

#include <QObject>
#include <QPointer>

#include <functional>

class DocumentStatistics;
class GoalStatus;
class WritingHistory;
class frmGoals;
class frmStatistics;

/// View > Goals... and View > Statistics...: the windows that set the goals and show the
/// writing so far.
class GoalCommands : public QObject
{
    Q_OBJECT

public:
    /// What the windows show.
    struct Sources
    {
        WritingHistory& history;
        const DocumentStatistics& statistics;
        std::function<QDate()> today;
    };

    GoalCommands(QWidget& owner, GoalStatus& status, Sources sources, QObject* parent = nullptr);

    void mnuGoals_Click();
    void mnuStatistics_Click();

signals:
    /// The writer set new goals.
    void goalsChanged(const WritingGoals& goals);

private:
    void frmGoals_Accepted();

    QWidget& m_owner;
    GoalStatus& m_status;
    Sources m_sources;
    QPointer<frmGoals> m_frmGoals;
    QPointer<frmStatistics> m_frmStatistics;
};
