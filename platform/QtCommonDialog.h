#pragma once

#include "platform/CommonDialog.h"

#include <memory>

class QWidget;

/// The common dialog over Qt's file, print, colour and font dialogs.
class QtCommonDialog : public CommonDialog
{
public:
    explicit QtCommonDialog(QWidget* owner = nullptr);
    ~QtCommonDialog() override;

    void setOwner(QWidget* owner) { m_owner = owner; }
    /// The page setup dialog, which is the program's own: shows it over owner and, when the
    /// writer chose OK, changes page to the answer and returns true.
    using PageSetupDialog = bool (*)(QWidget* owner, PageSetup& page);
    void setPageSetupDialog(PageSetupDialog dialog) { m_pageSetupDialog = dialog; }

protected:
    bool runOpen() override;
    bool runSave() override;
    bool runPrinter() override;
    bool runColor() override;
    bool runFont() override;
    bool runPageSetup() override;
    bool runFolder() override;

private:
    QWidget* m_owner;
    PageSetupDialog m_pageSetupDialog = nullptr;
    std::unique_ptr<QPrinter> m_printer;
};
