#pragma once

#include "platform/MessageService.h"

#include <functional>

/// Records every box instead of showing it, and answers questions from a script.
class RecordingMessageService : public MessageService
{
public:
    struct Box
    {
        QString prompt;
        Icon icon;
        QString title;
    };
    struct Question
    {
        QString prompt;
        QList<Button> buttons;
        Button defaultButton;
        QString title;
    };

    void MsgBox(const QString& prompt, Icon icon, const QString& title = appTitle()) override;
    Button ask(const QString& prompt, const QList<Button>& buttons, Button defaultButton,
               const QString& title = appTitle()) override;

    void queueAnswer(Button answer) { m_answers << answer; }
    qsizetype pending() const { return m_answers.size(); }

    QList<Box> boxes;
    QList<Question> questions;
    /// Runs as each question is asked, to look at the program at that moment.
    std::function<void()> whileAsking;

private:
    QList<Button> m_answers;
};
