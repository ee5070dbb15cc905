#pragma once

#include "app/AppServices.h"
#include "seed/RandomGenerator.h"
#include "support/BenchDialog.h"
#include "support/BenchMessages.h"

#include <QEvent>
#include <QTemporaryDir>

#include <memory>

class frmVellumo;
class RichTextBox;

/// A shown main window whose settings and data live in a temporary folder, with the scripted
/// dialog, the counting messages and a fixed random sequence as its services.
class BenchWindow
{
public:
    explicit BenchWindow(std::uint64_t randomState = 1);
    ~BenchWindow();

    /// Puts size bytes of short lines in the editor as one undo step, caret in the middle.
    void holdText(qsizetype size);
    /// Sends a key event straight to the editor, as a keyboard would.
    void sendKey(QEvent::Type type, int key, const QString& text = QString());

    QTemporaryDir dir;
    BenchDialog dialog;
    BenchMessages messages;
    RandomGenerator random;
    AppServices services;
    std::unique_ptr<frmVellumo> window;
    RichTextBox* editor = nullptr;
};
