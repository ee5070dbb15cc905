#pragma once

#include "documents/SeedCount.h"
#include "goals/WritingGoals.h"

#include <QDialog>

class DayChart;
class QLabel;

/// Statistics: the words written today, this week and this month, the streak, a chart of the
/// last thirty days, and what became of the seed text of the document shown.
class frmStatistics : public QDialog
{
    Q_OBJECT

public:
    static constexpr int chartDays = 30;

    explicit frmStatistics(QWidget* owner);

    void showDays(const WritingHistory::Days& days, QDate today, const WritingGoals& goals);
    /// seedWritten: the seed words the injection wrote into the document this session.
    void showSeed(const SeedCount& seed, qint64 seedWritten);

private:
    QLabel* m_lblWritten = nullptr;
    QLabel* m_lblStreak = nullptr;
    QLabel* m_lblSeed = nullptr;
    DayChart* m_picDays = nullptr;
};
