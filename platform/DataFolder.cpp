#include "platform/DataFolder.h"

#include <QStandardPaths>

QString DataFolder::path(const QString& dataDir)
{
    return dataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                             : dataDir;
}
