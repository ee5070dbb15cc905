#include "support/RecordingMessageService.h"

#include <QTest>

void RecordingMessageService::MsgBox(const QString& prompt, Icon icon, const QString& title)
{
    boxes << Box{prompt, icon, title};
}

MessageService::Button RecordingMessageService::ask(const QString& prompt,
                                                    const QList<Button>& buttons,
                                                    Button defaultButton, const QString& title)
{
    questions << Question{prompt, buttons, defaultButton, title};
    if (whileAsking)
        whileAsking();
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + prompt), __FILE__,
                     __LINE__);
        return buttons.contains(Button::Cancel) ? Button::Cancel : defaultButton;
    }
    return m_answers.takeFirst();
}
