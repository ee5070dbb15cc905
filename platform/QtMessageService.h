#pragma once

#include "platform/MessageService.h"

class QMessageBox;

/// The message service over QMessageBox; boxes belong to the active window.
class QtMessageService : public MessageService
{
public:
    void MsgBox(const QString& prompt, Icon icon, const QString& title = appTitle()) override;
    Button ask(const QString& prompt, const QList<Button>& buttons, Button defaultButton,
               const QString& title = appTitle()) override;

    /// Widens box to show its whole title: a box sizes itself by its text alone, and the
    /// window manager cuts a longer title short.
    static void fitTitle(QMessageBox& box);
};
