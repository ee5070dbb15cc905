#include "platform/QtCommonDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

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

bool QtCommonDialog::runSave()
{
    QFileDialog dlg(m_owner, DialogTitle, FileName, qtFilter(Filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(DefaultExt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    FileName = withDefaultExt(dlg.selectedFiles().constFirst(), DefaultExt);
    return true;
}

bool QtCommonDialog::runPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dlg(m_printer.get(), m_owner);
    dlg.setWindowTitle(DialogTitle);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, !(Flags & cdlPDNoPageNums));
    dlg.setOption(QAbstractPrintDialog::PrintSelection, Flags & cdlPDSelection);
    m_printer->setPrintRange((Flags & cdlPDSelection) ? QPrinter::Selection : QPrinter::AllPages);
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
