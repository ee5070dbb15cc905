#include "dialogs/frmStatistics.h"

#include "dialogs/DayChart.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
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
    m_lstSeedDays = new QTableWidget(0, 5, this);
    m_lstSeedDays->setObjectName(QStringLiteral("lstSeedDays"));
    m_lstSeedDays->setHorizontalHeaderLabels(
        {tr("Day"), tr("Seed words written"), tr("Kept verbatim"), tr("Reworked"), tr("Deleted")});
    m_lstSeedDays->verticalHeader()->hide();
    m_lstSeedDays->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstSeedDays->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblWritten);
    layout->addWidget(m_lblStreak);
    layout->addWidget(new QLabel(tr("Words written, the last %1 days:").arg(chartDays), this));
    layout->addWidget(m_picDays, 1);
    layout->addWidget(new QLabel(tr("Seed words, day by day:"), this));
    layout->addWidget(m_lstSeedDays, 1);
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
    showSeedDays(days, today);
}

// The latest day first, as far back as the chart goes; days without seed words are left out.
void frmStatistics::showSeedDays(const WritingHistory::Days& days, QDate today)
{
    m_lstSeedDays->setRowCount(0);
    for (auto day = days.upperBound(today); day != days.cbegin();) {
        --day;
        if (day.key() <= today.addDays(-chartDays))
            break;
        const WritingHistory::Day& figures = day.value();
        if (!figures.hasSeed())
            continue;
        const int row = m_lstSeedDays->rowCount();
        m_lstSeedDays->insertRow(row);
        const QStringList cells{QLocale().toString(day.key(), QLocale::ShortFormat),
                                number(figures.seedWritten), number(figures.seedKept()),
                                number(figures.seedReworked), number(figures.seedDeleted)};
        for (int column = 0; column < cells.size(); ++column)
            m_lstSeedDays->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void frmStatistics::showSeed(const SeedCount& seed)
{
    m_lblSeed->setText(tr("This document's seed words: %1 written, %2 kept verbatim, "
                          "%3 reworked, %4 deleted")
                           .arg(number(seed.written), number(seed.kept), number(seed.reworked),
                                number(seed.deleted())));
}
