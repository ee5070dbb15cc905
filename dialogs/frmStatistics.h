#pragma once

#include "documents/SeedCount.h"
#include "goals/WritingGoals.h"

#include <QDialog>

class DayChart;
class QLabel;
class QTableWidget;

/// Statistics: the words written today, this week and this month, the streak, a chart of the
/// last thirty days, what became of the seed words on each of them, and of the seed text of the
/// document shown.
class frmStatistics : public QDialog
{
    Q_OBJECT

public:
    static constexpr int chartDays = 30;
    /// The columns of the seed words' days, the latest day first.
    enum SeedDayColumn { DayColumn, WrittenColumn, KeptColumn, ReworkedColumn, DeletedColumn };

    explicit frmStatistics(QWidget* owner);

    void showDays(const WritingHistory::Days& days, QDate today, const WritingGoals& goals);
    void showSeed(const SeedCount& seed);

private:
    void showSeedDays(const WritingHistory::Days& days, QDate today);

    QLabel* m_lblWritten = nullptr;
    QLabel* m_lblStreak = nullptr;
    QLabel* m_lblSeed = nullptr;
    DayChart* m_picDays = nullptr;
    QTableWidget* m_lstSeedDays = nullptr;
};
