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

protected:
    bool runOpen() override;
    bool runSave() override;
    bool runPrinter() override;
    bool runColor() override;
    bool runFont() override;

private:
    QWidget* m_owner;
    std::unique_ptr<QPrinter> m_printer;
};
