#pragma once

#include "platform/MessageService.h"

#include <optional>

/// Counts the boxes and questions instead of showing them: a box here means the benchmark
/// went wrong.
class BenchMessages : public MessageService
{
public:
    void MsgBox(const QString& prompt, Icon icon, const QString& title) override;
    Button ask(const QString& prompt, const QList<Button>& buttons, Button defaultButton,
               const QString& title) override;

    /// What every question answers; none means its default button.
    std::optional<Button> answer;
    int boxes = 0;
    int questions = 0;
};
