#pragma once

#include "formats/PageSetup.h"

#include <QColor>
#include <QString>

class QPrinter;

/// The one shared file, print, colour and font dialog of the main window.
///
/// Properties keep their values between uses; each caller sets what it relies on,
/// calls one Show function, then reads the result. A Show function returns 0, or
/// cdlCancel when the user cancelled while CancelError is set. With CancelError
/// clear, a cancelled file dialog returns 0 with FileName empty.
class CommonDialog
{
public:
    static constexpr int cdlCancel = 32755;

    // Print flags, as the print command combines them.
    static constexpr int cdlPDSelection = 1;
    static constexpr int cdlPDNoPageNums = 8;
    static constexpr int cdlPDReturnDC = 256;
    static constexpr int cdlCFEffects = 256;

    virtual ~CommonDialog() = default;

    QString DialogTitle;
    bool CancelError = false;
    QString Filter;
    /// The filter a file dialog shows first, counted from 1; after ShowSave, the one chosen.
    int FilterIndex = 1;
    QString DefaultExt;
    QString FileName;
    int Flags = 0;
    QColor Color = Qt::black;
    QString FontName;
    float FontSize = 9.0f;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    /// The chosen printer after ShowPrinter; owned by the dialog.
    QPrinter* hDC = nullptr;
    /// The page ShowPageSetup offers, and then the one chosen.
    PageSetup Page;

    int ShowOpen() { return finish(runOpen(), true); }
    int ShowSave() { return finish(runSave(), true); }
    int ShowPrinter() { return finish(runPrinter(), false); }
    int ShowColor() { return finish(runColor(), false); }
    int ShowFont() { return finish(runFont(), false); }
    int ShowPageSetup() { return finish(runPageSetup(), false); }
    /// Asks for a folder, which FileName then names.
    int ShowFolder() { return finish(runFolder(), true); }

    /// Name filters for Qt from a "Description|*.ext" filter.
    static QString qtFilter(const QString& filter);
    /// FileName with DefaultExt appended when the typed name has no extension.
    static QString withDefaultExt(const QString& fileName, const QString& defaultExt);

protected:
    /// Each shows its dialog, stores the result in the properties and returns false on cancel.
    virtual bool runOpen() = 0;
    virtual bool runSave() = 0;
    virtual bool runPrinter() = 0;
    virtual bool runColor() = 0;
    virtual bool runFont() = 0;
    virtual bool runPageSetup() = 0;
    virtual bool runFolder() = 0;

private:
    int finish(bool accepted, bool fileDialog);
};
