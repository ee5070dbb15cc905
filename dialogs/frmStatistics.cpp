#include "dialogs/frmStatistics.h"

#include "dialogs/DayChart.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* owner, const char* name)
{
    auto* label = new QLabel(owner);
    label->setObjectName(QLatin1String(name));
    return label;
}

QString number(qint64 n)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(n);
}

QString words(qint64 n)
{
    return number(n) + QLatin1String(n == 1 ? " word" : " words");
}

qint64 wordsSince(const WritingHistory::Days& days, QDate from, QDate today)
{
    qint64 words = 0;
    for (auto day = days.lowerBound(from); day != days.cend() && day.key() <= today; ++day)
        words += day.value().words;
    return words;
}

} // namespace

frmStatistics::frmStatistics(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(tr("Statistics"));
    m_lblWritten = label(this, "lblWritten");
    m_lblStreak = label(this, "lblStreak");
    m_lblSeed = label(this, "lblSeed");
    m_picDays = new DayChart(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblWritten);
    layout->addWidget(m_lblStreak);
    layout->addWidget(new QLabel(tr("Words written, the last %1 days:").arg(chartDays), this));
    layout->addWidget(m_picDays, 1);
    layout->addWidget(m_lblSeed);
    layout->addWidget(buttons);
}

void frmStatistics::showDays(const WritingHistory::Days& days, QDate today,
                             const WritingGoals& goals)
{
    const WritingHistory::Day now = days.value(today);
    m_lblWritten->setText(
        tr("Today: %1 in %2 minutes. This week: %3. This month: %4.")
            .arg(words(now.words), number(now.minutes()),
                 words(wordsSince(days, today.addDays(1 - today.dayOfWeek()), today)),
                 words(wordsSince(days, today.addDays(1 - today.day()), today))));
    const WritingGoals::Streak streak = goals.streak(days, today);
    m_lblStreak->setText(tr("Streak: %1 days; the longest: %2 days")
                             .arg(number(streak.current), number(streak.longest)));
    QList<qint64> perDay;
    for (int back = chartDays - 1; back >= 0; --back)
        perDay << days.value(today.addDays(-back)).words;
    m_picDays->setDays(perDay, goals.unit == WritingGoals::Unit::Words ? goals.daily : 0);
}

// Seed words neither kept nor reworked were deleted, as far as this session saw them written.
void frmStatistics::showSeed(const SeedCount& seed, qint64 seedWritten)
{
    const qint64 deleted = qMax<qint64>(0, seedWritten - seed.kept - seed.reworked);
    m_lblSeed->setText(
        tr("This document's seed words: %1 written, %2 kept verbatim, "
           "%3 reworked, %4 deleted")
            .arg(number(seedWritten), number(seed.kept), number(seed.reworked), number(deleted)));
}
