#include "support/BenchWindow.h"

#include "app/frmVellumo.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"
#include "support/BenchHelpers.h"

#include <QApplication>
#include <QKeyEvent>

BenchWindow::BenchWindow(std::uint64_t randomState) : random(randomState)
{
    services.dialog = &dialog;
    services.messages = &messages;
    services.random = &random;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.dataDir = dir.filePath(QStringLiteral("data"));
    services.programDir = QApplication::applicationDirPath();
    window = std::make_unique<frmVellumo>(services);
    window->show();
    editor = window->findChild<RichTextBox*>();
}

BenchWindow::~BenchWindow() = default;

void BenchWindow::holdText(qsizetype size)
{
    if (size > 0) {
        editor->setSelText(textOf(size));
        window->findChild<UndoSnapshot*>()->changeundo();
    }
    editor->setSelStart(size / 2);
    QApplication::processEvents();
}

void BenchWindow::sendKey(QEvent::Type type, int key, const QString& text)
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &event);
}
