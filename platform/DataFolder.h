#pragma once

#include <QString>

/// The per-user folder where the program keeps what it writes for itself.
class DataFolder
{
public:
    /// dataDir when given, else the standard data folder for the application's name, which
    /// must be set by then.
    static QString path(const QString& dataDir);
};
