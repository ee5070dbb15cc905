#pragma once

#include <QString>

/// Where the shipped seed files are found.
class SeedPath
{
public:
    /// The file in the first seed folder that exists: data/ beside the program, then
    /// share/quillmere/data beside the program's bin/, else the configured installed one.
    static QString shippedSeed(const QString& fileName, const QString& programDir,
                               const QString& installedDataDir = QStringLiteral(QUILLMERE_DATADIR));
};
