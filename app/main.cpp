#include "app/ConvertCommand.h"
#include "app/frmVellumo.h"
#include "dialogs/frmPageSetup.h"
#include "platform/FontFallbacks.h"
#include "platform/MemoryPolicy.h"
#include "platform/QtCommonDialog.h"
#include "platform/QtMessageService.h"
#include "seed/RandomGenerator.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    MemoryPolicy::apply();
    // A conversion shows no window, so it needs no display, only fontconfig's fonts.
    // Its standard error holds one line for each file that failed, and nothing else.
    if (ConvertCommand::isRequested(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    QApplication app(argc, argv);
    FontFallbacks::install();
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    if (const auto convert = ConvertCommand::parse(QApplication::arguments())) {
        QTextStream errors(stderr);
        return convert->run(errors);
    }
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
    dialog.setPageSetupDialog(&frmPageSetup::ask);
    window.show();
    window.openArguments(QApplication::arguments());
    return app.exec();
}
