#include "support/BenchMessages.h"

void BenchMessages::MsgBox(const QString&, Icon, const QString&)
{
    ++boxes;
}

MessageService::Button BenchMessages::ask(const QString&, const QList<Button>&,
                                          Button defaultButton, const QString&)
{
    ++questions;
    return answer.value_or(defaultButton);
}
