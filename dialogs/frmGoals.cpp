#include "dialogs/frmGoals.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace {

QSpinBox* spinBox(QWidget* owner, const char* name, int most, const QString& suffix)
{
    auto* box = new QSpinBox(owner);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, most);
    box->setSuffix(suffix);
    return box;
}

} // namespace

frmGoals::frmGoals(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmGoals"));
    setWindowTitle(tr("Goals"));
    m_txtDaily = spinBox(this, "txtDaily", 1000000, QString());
    m_cboUnit = new QComboBox(this);
    m_cboUnit->setObjectName(QStringLiteral("cboUnit"));
    m_cboUnit->addItems({tr("words"), tr("minutes")});
    m_txtSession = spinBox(this, "txtSession", 1000000, tr(" words"));
    m_txtSession->setSpecialValueText(tr("none"));
    m_txtStreakPercent = spinBox(this, "txtStreakPercent", 100, tr("% of the daily goal"));
    m_txtStreakPercent->setMinimum(1);
    m_lblStreak = new QLabel(this);
    m_lblStreak->setObjectName(QStringLiteral("lblStreak"));

    auto* daily = new QHBoxLayout;
    daily->addWidget(m_txtDaily);
    daily->addWidget(m_cboUnit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Daily goal:"), daily);
    form->addRow(tr("&Session goal:"), m_txtSession);
    form->addRow(tr("A streak day &needs:"), m_txtStreakPercent);
    form->addRow(m_lblStreak);
    form->addRow(buttons);
}

void frmGoals::setGoals(const WritingGoals& goals, const WritingGoals::Streak& streak)
{
    m_cboUnit->setCurrentIndex(goals.unit == WritingGoals::Unit::Words ? 0 : 1);
    m_txtDaily->setValue(int(goals.daily));
    m_txtSession->setValue(int(goals.session));
    m_txtStreakPercent->setValue(goals.streakPercent);
    const auto days = [](int count) { return count == 1 ? tr("1 day") : tr("%1 days").arg(count); };
    m_lblStreak->setText(
        tr("Streak: %1; the longest: %2").arg(days(streak.current), days(streak.longest)));
}

WritingGoals frmGoals::goals() const
{
    WritingGoals goals;
    goals.unit =
        m_cboUnit->currentIndex() == 0 ? WritingGoals::Unit::Words : WritingGoals::Unit::Minutes;
    goals.daily = m_txtDaily->value();
    goals.session = m_txtSession->value();
    goals.streakPercent = m_txtStreakPercent->value();
    return goals;
}
