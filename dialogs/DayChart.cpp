#include "dialogs/DayChart.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

// A few words against a large goal would round to no bar at all: any day with words shows.
constexpr qreal leastBar = 3;

} // namespace

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
        const qreal height = m_words[day] > 0 ? qMax(leastBar, heightOf(m_words[day])) : 0;
        painter.setBrush(
            palette().color(day + 1 == m_words.size() ? QPalette::Highlight : QPalette::Mid));
        painter.drawRect(QRectF(area.left() + qreal(day) * step + 1, area.bottom() - height,
                                qMax<qreal>(1, step - 2), height));
    }
    if (m_goal > 0)
        drawGoal(painter, area, area.bottom() - heightOf(m_goal));
}

// The line is named above it, or below when it runs along the top.
void DayChart::drawGoal(QPainter& painter, const QRectF& area, qreal y)
{
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    const qreal line = painter.fontMetrics().height();
    const qreal top = y - line - 1 >= area.top() ? y - line - 1 : y + 2;
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(area.left(), top, area.width() - 2, line), Qt::AlignRight,
                     tr("goal: %1 words").arg(english.toString(m_goal)));
}
