#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

/// The files a command line or a drop names, as absolute local paths in the order given.
class FileArguments
{
public:
    /// The file arguments of a command line whose first entry is the program. Arguments that
    /// start with "-" are options and are left out, up to a "--" after which every argument
    /// names a file; file:// URLs become paths and relative paths are taken from currentDir.
    static QStringList fromCommandLine(const QStringList& arguments, const QString& currentDir);
    /// The local files among dropped URLs; other URLs are left out.
    static QStringList fromUrls(const QList<QUrl>& urls);
};
