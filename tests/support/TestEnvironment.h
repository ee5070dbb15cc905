#pragma once

#include "app/AppServices.h"
#include "seed/RandomGenerator.h"
#include "support/FakeCommonDialog.h"
#include "support/RecordingMessageService.h"

#include <QTemporaryDir>

#include <memory>

class frmVellumo;

/// A fresh temporary settings and data folder with scripted dialogs, and a main window on them.
class TestEnvironment
{
public:
    /// Points the user settings and data folders into a temporary folder; call in init().
    TestEnvironment();
    ~TestEnvironment();

    /// A new main window on this environment's fakes, shown and exposed.
    frmVellumo* window();
    /// The same window closed and deleted, as at the end of a run.
    void closeWindow();

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString settingsFile() const { return path(QStringLiteral("settings.ini")); }
    AppServices services();

    FakeCommonDialog dialog;
    RecordingMessageService messages;
    RandomGenerator random{20261207};
    int quitCalls = 0;
    /// What the program's clock reads, in milliseconds; tests move it on by hand.
    qint64 now = 0;
    /// Runs each time the program reads the clock, before it reads now.
    std::function<void()> onClockRead;
    /// The day the program's calendar shows; tests turn it by hand.
    QDate today{2026, 12, 8};
    /// Where the window looks for data/; the build tree's program folder by default.
    QString programDir;
    /// Where the window looks for spelling dictionaries; the system's folder by default.
    QString dictionaryDir;
    /// No thesaurus unless a test gives one, so menus hold what the test expects.
    QString thesaurusDir;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmVellumo> m_window;
};

/// Writes bytes to a new file at path, making its folder, and fails the test when it cannot.
void writeTestFile(const QString& path, const QByteArray& bytes);
