#pragma once

#include <QList>
#include <QString>

/// Message boxes: a prompt with an icon and a single OK, and questions with a choice of buttons.
class MessageService
{
public:
    enum class Icon { Information, Warning, Critical, Question };
    enum class Button {
        Ok,
        Save,
        SaveAs,
        Discard,
        Cancel,
        Restore,
        Overwrite,
        SaveAsRtf,
        SaveAsOdt
    };

    virtual ~MessageService() = default;

    /// Shows prompt with one OK button; the caption is the application title unless given.
    virtual void MsgBox(const QString& prompt, Icon icon, const QString& title = appTitle()) = 0;
    /// Asks a question and returns the button chosen (the escape button when closed).
    virtual Button ask(const QString& prompt, const QList<Button>& buttons, Button defaultButton,
                       const QString& title = appTitle()) = 0;

    static QString appTitle() { return QStringLiteral("Quillmere"); }
};
