#include "dialogs/DayChart.h"

#include <QPainter>

#include <algorithm>

DayChart::DayChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picDays"));
    setMinimumSize(240, 100);
}

void DayChart::setDays(const QList<qint64>& words, qint64 goal)
{
    m_words = words;
    m_goal = goal;
    update();
}

void DayChart::paintEvent(QPaintEvent* /*event*/)
{
    if (m_words.isEmpty())
        return;
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qint64 most =
        std::max({qint64(1), m_goal, *std::max_element(m_words.cbegin(), m_words.cend())});
    const qreal step = area.width() / qreal(m_words.size());
    const auto heightOf = [&](qint64 words) { return area.height() * qreal(words) / qreal(most); };
    painter.setPen(Qt::NoPen);
    for (qsizetype day = 0; day < m_words.size(); ++day) {
        const qreal height = heightOf(qMax<qint64>(0, m_words[day]));
        painter.setBrush(
            palette().color(day + 1 == m_words.size() ? QPalette::Highlight : QPalette::Mid));
        painter.drawRect(QRectF(area.left() + qreal(day) * step + 1, area.bottom() - height,
                                qMax<qreal>(1, step - 2), height));
    }
    if (m_goal > 0) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
        const qreal y = area.bottom() - heightOf(m_goal);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
}
