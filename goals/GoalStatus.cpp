#include "goals/GoalStatus.h"

#include "goals/WritingTally.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include <climits>

GoalStatus::GoalStatus(const WritingTally& tally, QLabel& label, QProgressBar& bar, QObject* parent)
    : QObject(parent), m_tally(tally), m_label(label), m_bar(bar)
{
}

void GoalStatus::setGoals(const WritingGoals& goals)
{
    m_goals = goals;
    tally_Changed();
}

void GoalStatus::tally_Changed()
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    const WritingHistory::Day today = m_tally.today();
    const qint64 done = m_goals.progress(today);
    QString text = m_goals.describe(today);
    if (m_goals.daily > 0 && done >= m_goals.daily)
        text += QStringLiteral(", goal reached");
    if (m_goals.session > 0) {
        text +=
            QStringLiteral("; session %1 of %2")
                .arg(english.toString(m_tally.sessionWords()), english.toString(m_goals.session));
        if (m_tally.sessionWords() >= m_goals.session)
            text += QStringLiteral(", reached");
    }
    m_label.setText(text);
    m_bar.setVisible(m_goals.daily > 0);
    m_bar.setRange(0, int(qMin<qint64>(m_goals.daily, INT_MAX)));
    m_bar.setValue(int(qBound(qint64(0), done, qint64(m_bar.maximum()))));
}
