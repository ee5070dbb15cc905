#pragma once

#include "platform/CommonDialog.h"

/// Answers every file dialog with the name set beforehand; an empty name cancels, and the
/// printer, colour, font and page setup dialogs always cancel.
class BenchDialog : public CommonDialog
{
public:
    QString next;

protected:
    bool runOpen() override;
    bool runSave() override;
    bool runPrinter() override { return false; }
    bool runColor() override { return false; }
    bool runFont() override { return false; }
    bool runPageSetup() override { return false; }
    bool runFolder() override { return false; }

private:
    bool answer();
};
