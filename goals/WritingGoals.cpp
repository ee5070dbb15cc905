#include "goals/WritingGoals.h"

#include <QLocale>
#include <QSettings>

namespace {

const char* const group = "Goals";
const char* const keyUnit = "Unit";
const char* const keyDaily = "Daily";
const char* const keySession = "Session";
const char* const keyStreakPercent = "StreakPercent";

} // namespace

qint64 WritingGoals::progress(const WritingHistory::Day& day) const
{
    return unit == Unit::Words ? day.words : day.minutes();
}

// A goal of nothing is kept by any day that saw some writing.
bool WritingGoals::keepsStreak(const WritingHistory::Day& day) const
{
    const qint64 needed = (daily * streakPercent + 99) / 100;
    return progress(day) >= qMax<qint64>(needed, 1);
}

WritingGoals::Streak WritingGoals::streak(const WritingHistory::Days& days, QDate today) const
{
    Streak streak;
    int run = 0;
    QDate last;
    for (auto day = days.cbegin(); day != days.cend() && day.key() <= today; ++day) {
        if (!keepsStreak(day.value()))
            continue;
        run = last.isValid() && last.daysTo(day.key()) == 1 ? run + 1 : 1;
        last = day.key();
        streak.longest = qMax(streak.longest, run);
    }
    if (last.isValid() && last.daysTo(today) <= 1)
        streak.current = run;
    return streak;
}

QString WritingGoals::describe(const WritingHistory::Day& today) const
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("%1 of %2 %3 today")
        .arg(english.toString(progress(today)), english.toString(daily),
             QLatin1String(unit == Unit::Words ? "words" : "minutes"));
}

WritingGoals WritingGoals::load(QSettings& settings)
{
    WritingGoals goals;
    settings.beginGroup(QLatin1String(group));
    if (settings.value(QLatin1String(keyUnit)).toString() == QLatin1String("minutes"))
        goals.unit = Unit::Minutes;
    goals.daily =
        qMax<qint64>(0, settings.value(QLatin1String(keyDaily), goals.daily).toLongLong());
    goals.session = qMax<qint64>(0, settings.value(QLatin1String(keySession), 0).toLongLong());
    goals.streakPercent =
        qBound(1, settings.value(QLatin1String(keyStreakPercent), 100).toInt(), 100);
    settings.endGroup();
    return goals;
}

void WritingGoals::save(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(group));
    settings.setValue(QLatin1String(keyUnit),
                      QLatin1String(unit == Unit::Words ? "words" : "minutes"));
    settings.setValue(QLatin1String(keyDaily), daily);
    settings.setValue(QLatin1String(keySession), session);
    settings.setValue(QLatin1String(keyStreakPercent), streakPercent);
    settings.endGroup();
}
