#pragma once

#include "goals/WritingGoals.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QSpinBox;

/// Goals: the daily goal in words or minutes, the session's goal in words, the part of the
/// daily goal a day of the streak needs, and the streak so far.
class frmGoals : public QDialog
{
    Q_OBJECT

public:
    explicit frmGoals(QWidget* owner);

    void setGoals(const WritingGoals& goals, const WritingGoals::Streak& streak);
    /// The goals as the dialog shows them now.
    WritingGoals goals() const;

private:
    QComboBox* m_cboUnit = nullptr;
    QSpinBox* m_txtDaily = nullptr;
    QSpinBox* m_txtSession = nullptr;
    QSpinBox* m_txtStreakPercent = nullptr;
    QLabel* m_lblStreak = nullptr;
};
