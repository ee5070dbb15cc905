#include "seed/SeedPath.h"

#include <QDir>

QString SeedPath::shippedSeed(const QString& fileName, const QString& programDir,
                              const QString& installedDataDir)
{
    // An install moved to another prefix keeps share/ beside bin/, whatever was configured.
    const QStringList candidates{programDir + QStringLiteral("/data"),
                                 programDir + QStringLiteral("/../share/quillmere/data")};
    for (const QString& candidate : candidates) {
        const QDir folder(candidate);
        if (folder.exists())
            return QDir::cleanPath(folder.filePath(fileName));
    }
    return QDir(installedDataDir).filePath(fileName);
}
