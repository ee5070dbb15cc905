#pragma once

#include "goals/WritingGoals.h"

#include <QObject>

class QLabel;
class QProgressBar;
class WritingTally;

/// The status bar's progress towards the goals: "412 of 1,000 words today" with a small bar;
/// a goal reached is said in the same place, quietly.
class GoalStatus : public QObject
{
    Q_OBJECT

public:
    GoalStatus(const WritingTally& tally, QLabel& label, QProgressBar& bar,
               QObject* parent = nullptr);

    void setGoals(const WritingGoals& goals);
    const WritingGoals& goals() const { return m_goals; }
    /// Shows the progress the tally holds now.
    void tally_Changed();

private:
    const WritingTally& m_tally;
    QLabel& m_label;
    QProgressBar& m_bar;
    WritingGoals m_goals;
};
