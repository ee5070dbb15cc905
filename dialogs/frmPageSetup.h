#pragma once

#include "formats/PageSetup.h"

#include <QDialog>

#include <array>

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

/// The Page Setup dialog: the paper, its orientation and the four margins, in inches where the
/// system's locale measures in inches, else in centimetres.
class frmPageSetup : public QDialog
{
    Q_OBJECT

public:
    frmPageSetup(const PageSetup& page, QWidget* owner);

    /// The page as the dialog now shows it.
    PageSetup page() const;

    /// Shows the dialog over owner until it is answered; true, with page changed to the answer,
    /// when the writer chose OK.
    static bool ask(QWidget* owner, PageSetup& page);

private:
    void addPapers(const PageSetup& page);

    QComboBox* m_cboPaper;
    QRadioButton* m_optPortrait;
    QRadioButton* m_optLandscape;
    /// Left, right, top and bottom.
    std::array<QDoubleSpinBox*, 4> m_margins{};
    /// Twips in the unit the margins are shown in.
    double m_twipsPerUnit;
    /// The page offered, whose margins stay to the twip unless the writer changes them.
    PageSetup m_offered;
    std::array<double, 4> m_shownMargins{};
};
