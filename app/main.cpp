#include "app/frmVellumo.h"
#include "platform/FontFallbacks.h"
#include "platform/MemoryPolicy.h"
#include "platform/QtCommonDialog.h"
#include "platform/QtMessageService.h"
#include "seed/RandomGenerator.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    MemoryPolicy::apply();
    QApplication app(argc, argv);
    FontFallbacks::install();
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmere.svg")));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.quillmere.Quillmere"));
    QtCommonDialog dialog;
    QtMessageService messages;
    RandomGenerator random = RandomGenerator::fromEntropy();
    AppServices services;
    services.dialog = &dialog;
    services.messages = &messages;
    services.random = &random;
    services.programDir = QApplication::applicationDirPath();
    services.quit = [] { QApplication::quit(); };
    frmVellumo window(services);
    dialog.setOwner(&window);
    window.show();
    window.openArguments(QApplication::arguments());
    return app.exec();
}
