#pragma once

#include "platform/MessageService.h"

/// The message service over QMessageBox; boxes belong to the active window.
class QtMessageService : public MessageService
{
public:
    void MsgBox(const QString& prompt, Icon icon, const QString& title = appTitle()) override;
    Button ask(const QString& prompt, const QList<Button>& buttons, Button defaultButton,
               const QString& title = appTitle()) override;
};
