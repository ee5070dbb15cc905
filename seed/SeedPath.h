#pragma once

#include <QString>

/// Where the shipped seed files are found.
class SeedPath
{
public:
    /// The file in data/ beside the program when that folder exists, else in the installed one.
    static QString shippedSeed(const QString& fileName, const QString& programDir,
                               const QString& installedDataDir = QStringLiteral(QUILLMERE_DATADIR));
};
