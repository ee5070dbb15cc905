#include "platform/FileArguments.h"

#include <QDir>

QStringList FileArguments::fromCommandLine(const QStringList& arguments, const QString& currentDir)
{
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        // A launcher may hand over URLs where it was asked for paths.
        const QString path = argument.startsWith(QLatin1String("file://"))
                                 ? QUrl(argument).toLocalFile()
                                 : QDir(currentDir).absoluteFilePath(argument);
        if (!path.isEmpty())
            files << QDir::cleanPath(path);
    }
    return files;
}

QStringList FileArguments::fromUrls(const QList<QUrl>& urls)
{
    QStringList files;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files << QDir::cleanPath(url.toLocalFile());
    return files;
}
