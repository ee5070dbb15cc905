#include "platform/QtCommonDialog.h"

#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

/// Shows only the print ranges the program offers. Qt's own dialog sets its range controls
/// from its options each time it is shown, and on Qt 6.4 it ignores those options there, so
/// they are set again once it is shown; the controls are known by their names. Where a later
/// Qt names them otherwise, the printing still keeps to any range chosen.
class RangeOffer : public QObject
{
public:
    RangeOffer(bool pages, bool selection) : m_pages(pages), m_selection(selection) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            offer(*static_cast<QWidget*>(watched));
        return false;
    }

private:
    void offer(QWidget& dlg) const
    {
        auto* group = dlg.findChild<QWidget*>(QStringLiteral("gbPrintRange"));
        if (!group)
            return;
        if (auto* choice = group->findChild<QRadioButton*>(QStringLiteral("printSelection"))) {
            choice->setVisible(m_selection);
            choice->setChecked(m_selection);
        }
        for (const char* name :
             {"printRange", "from", "label_3", "to", "pagesRadioButton", "pagesLineEdit"})
            if (auto* control = group->findChild<QWidget*>(QLatin1String(name)))
                control->setVisible(m_pages);
        group->setVisible(m_pages || m_selection);
    }

    bool m_pages;
    bool m_selection;
};

} // namespace

QtCommonDialog::QtCommonDialog(QWidget* owner) : m_owner(owner) {}

QtCommonDialog::~QtCommonDialog() = default;

bool QtCommonDialog::runOpen()
{
    const QString name =
        QFileDialog::getOpenFileName(m_owner, DialogTitle, FileName, qtFilter(Filter));
    if (name.isEmpty())
        return false;
    FileName = name;
    return true;
}

bool QtCommonDialog::runFolder()
{
    const QString name = QFileDialog::getExistingDirectory(m_owner, DialogTitle, FileName);
    if (name.isEmpty())
        return false;
    FileName = name;
    return true;
}

bool QtCommonDialog::runSave()
{
    const QStringList filters = qtFilter(Filter).split(QLatin1String(";;"));
    QFileDialog dlg(m_owner, DialogTitle, FileName, qtFilter(Filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(DefaultExt);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dlg.selectNameFilter(filters.at(FilterIndex - 1));
    // A name typed while another file type is chosen gets that type's extension.
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [this, &dlg](const QString& type) {
        static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
        const QRegularExpressionMatch match = single.match(type);
        dlg.setDefaultSuffix(match.hasMatch() ? match.captured(1) : DefaultExt);
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    FileName = withDefaultExt(dlg.selectedFiles().constFirst(), dlg.defaultSuffix());
    FilterIndex = int(filters.indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

bool QtCommonDialog::runPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const bool pages = !(Flags & cdlPDNoPageNums);
    const bool selection = Flags & cdlPDSelection;
    m_printer->setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    QPrintDialog dlg(m_printer.get(), m_owner);
    dlg.setWindowTitle(DialogTitle);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, pages);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, selection);
    RangeOffer offer(pages, selection);
    dlg.installEventFilter(&offer);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    hDC = m_printer.get();
    return true;
}

bool QtCommonDialog::runColor()
{
    const QColor chosen = QColorDialog::getColor(Color, m_owner);
    if (!chosen.isValid())
        return false;
    Color = chosen;
    return true;
}

bool QtCommonDialog::runFont()
{
    QFont initial(FontName);
    initial.setPointSizeF(FontSize > 0 ? FontSize : 9.0);
    initial.setBold(FontBold);
    initial.setItalic(FontItalic);
    initial.setStrikeOut(FontStrikethru);
    initial.setUnderline(FontUnderline);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, m_owner);
    if (!ok)
        return false;
    FontName = chosen.family();
    FontSize = float(chosen.pointSizeF());
    FontBold = chosen.bold();
    FontItalic = chosen.italic();
    // Without the effects flag the dialog offers no underline or strike-through choice,
    // so those two keep what the dialog held.
    if (Flags & cdlCFEffects) {
        FontStrikethru = chosen.strikeOut();
        FontUnderline = chosen.underline();
    }
    return true;
}

bool QtCommonDialog::runPageSetup()
{
    return m_pageSetupDialog && m_pageSetupDialog(m_owner, Page);
}
