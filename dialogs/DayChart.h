#pragma once

#include <QList>
#include <QWidget>

class QPainter;

/// Bars of the words written on each of a run of days, the last one today, drawn to scale
/// under a named line at the daily goal.
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
    void drawGoal(QPainter& painter, const QRectF& area, qreal y);

    QList<qint64> m_words;
    qint64 m_goal = 0;
};
