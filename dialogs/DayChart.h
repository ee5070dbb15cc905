#pragma once

#include <QList>
#include <QWidget>

/// Bars of the words written on each of a run of days, the last one today, drawn to scale
/// under a line at the daily goal.
class DayChart : public QWidget
{
    Q_OBJECT

public:
    explicit DayChart(QWidget* parent = nullptr);

    void setDays(const QList<qint64>& words, qint64 goal);
    QSize sizeHint() const override { return {360, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<qint64> m_words;
    qint64 m_goal = 0;
};
