#include "seed/SeedPath.h"

#include <QDir>

QString SeedPath::shippedSeed(const QString& fileName, const QString& programDir,
                              const QString& installedDataDir)
{
    const QDir besideProgram(programDir + QStringLiteral("/data"));
    if (besideProgram.exists())
        return besideProgram.filePath(fileName);
    return QDir(installedDataDir).filePath(fileName);
}
