#pragma once

#include <QDate>
#include <QString>

#include <chrono>
#include <functional>

class CommonDialog;
class MessageService;
class RandomGenerator;

/// What the main window takes from outside, so tests can hand it fakes.
struct AppServices
{
    CommonDialog* dialog = nullptr;
    MessageService* messages = nullptr;
    RandomGenerator* random = nullptr;
    /// An INI file for the settings; empty means the user's own settings store.
    QString settingsFile;
    /// The per-user data folder; empty means the standard one.
    QString dataDir;
    /// The folder that holds the program file.
    QString programDir;
    /// The one folder of the Hunspell dictionaries; empty means where distributions put them.
    QString dictionaryDir;
    /// The folder of the MyThes thesauri; empty means the system's.
    QString thesaurusDir;
    /// Ends the program once shutdown has stored what it keeps.
    std::function<void()> quit;
    /// Milliseconds on a clock that never goes back, for waits measured by the program.
    std::function<qint64()> clock = [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    /// The day it is on the writer's calendar.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
};
