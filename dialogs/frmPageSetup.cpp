#include "dialogs/frmPageSetup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QPageSize>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <utility>

namespace {

constexpr double s_twipsPerInch = 1440;
constexpr double s_twipsPerCentimetre = s_twipsPerInch / 2.54;
// In the order the dialog shows them.
constexpr std::array<int PageSetup::*, 4> s_margins = {
    &PageSetup::marginLeft, &PageSetup::marginRight, &PageSetup::marginTop,
    &PageSetup::marginBottom};

// The paper upright, in twips, as PageSetup measures it.
QSize uprightTwips(QPageSize::PageSizeId id)
{
    const QSizeF millimetres = QPageSize::size(id, QPageSize::Millimeter);
    return QSize(qRound(millimetres.width() * s_twipsPerCentimetre / 10),
                 qRound(millimetres.height() * s_twipsPerCentimetre / 10));
}

QSize upright(const PageSetup& page)
{
    return QSize(std::min(page.paperWidth, page.paperHeight),
                 std::max(page.paperWidth, page.paperHeight));
}

QDoubleSpinBox* addMargin(QFormLayout* form, const char* name, const QString& caption, double value,
                          bool inches)
{
    auto* box = new QDoubleSpinBox(form->parentWidget());
    box->setObjectName(QLatin1String(name));
    box->setDecimals(2);
    box->setSingleStep(inches ? 0.25 : 0.5);
    box->setRange(0, inches ? 11 : 28);
    box->setSuffix(inches ? QStringLiteral(" in") : QStringLiteral(" cm"));
    box->setValue(value);
    form->addRow(caption, box);
    return box;
}

} // namespace

frmPageSetup::frmPageSetup(const PageSetup& page, QWidget* owner) : QDialog(owner), m_offered(page)
{
    setObjectName(QStringLiteral("frmPageSetup"));
    setWindowTitle(tr("Page Setup"));
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    m_twipsPerUnit = inches ? s_twipsPerInch : s_twipsPerCentimetre;

    auto* form = new QFormLayout(this);
    m_cboPaper = new QComboBox(this);
    m_cboPaper->setObjectName(QStringLiteral("cboPaper"));
    addPapers(page);
    form->addRow(tr("&Paper:"), m_cboPaper);

    auto* orientation = new QHBoxLayout;
    m_optPortrait = new QRadioButton(tr("P&ortrait"), this);
    m_optPortrait->setObjectName(QStringLiteral("optPortrait"));
    m_optLandscape = new QRadioButton(tr("&Landscape"), this);
    m_optLandscape->setObjectName(QStringLiteral("optLandscape"));
    (page.landscape ? m_optLandscape : m_optPortrait)->setChecked(true);
    orientation->addWidget(m_optPortrait);
    orientation->addWidget(m_optLandscape);
    form->addRow(tr("Orientation:"), orientation);

    const std::array<std::pair<const char*, QString>, 4> margins = {
        std::pair{"txtMarginLeft", tr("L&eft margin:")},
        std::pair{"txtMarginRight", tr("&Right margin:")},
        std::pair{"txtMarginTop", tr("&Top margin:")},
        std::pair{"txtMarginBottom", tr("&Bottom margin:")}};
    for (size_t i = 0; i < margins.size(); ++i) {
        m_margins[i] = addMargin(form, margins[i].first, margins[i].second,
                                 page.*s_margins[i] / m_twipsPerUnit, inches);
        m_shownMargins[i] = m_margins[i]->value();
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

// The usual papers, and the document's own where it is none of them.
void frmPageSetup::addPapers(const PageSetup& page)
{
    const std::array<std::pair<QString, QPageSize::PageSizeId>, 4> papers = {
        std::pair{tr("Letter"), QPageSize::Letter}, std::pair{tr("A4"), QPageSize::A4},
        std::pair{tr("Legal"), QPageSize::Legal}, std::pair{tr("A5"), QPageSize::A5}};
    for (const auto& [name, id] : papers)
        m_cboPaper->addItem(name, uprightTwips(id));
    const QSize own = upright(page);
    int index = m_cboPaper->findData(own);
    if (index < 0) {
        m_cboPaper->addItem(tr("The document's own (%1 x %2 cm)")
                                .arg(own.width() / s_twipsPerCentimetre, 0, 'f', 1)
                                .arg(own.height() / s_twipsPerCentimetre, 0, 'f', 1),
                            own);
        index = m_cboPaper->count() - 1;
    }
    m_cboPaper->setCurrentIndex(index);
}

PageSetup frmPageSetup::page() const
{
    PageSetup page;
    const QSize paper = m_cboPaper->currentData().toSize();
    page.landscape = m_optLandscape->isChecked();
    // RTF keeps landscape paper turned, its long side across.
    page.paperWidth = page.landscape ? paper.height() : paper.width();
    page.paperHeight = page.landscape ? paper.width() : paper.height();
    for (size_t i = 0; i < m_margins.size(); ++i) {
        // The box shows the margin rounded; left as offered, it stays what it was.
        page.*s_margins[i] = m_margins[i]->value() == m_shownMargins[i]
                                 ? m_offered.*s_margins[i]
                                 : qRound(m_margins[i]->value() * m_twipsPerUnit);
    }
    return page;
}

bool frmPageSetup::ask(QWidget* owner, PageSetup& page)
{
    frmPageSetup dialog(page, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    page = dialog.page();
    return true;
}
