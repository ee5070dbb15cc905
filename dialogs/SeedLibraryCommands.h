#pragma once

#include "seed/SeedLibrary.h"

#include <QObject>
#include <QPointer>

#include <array>

class CommonDialog;
class QAction;
class QWidget;
class frmSeeds;

/// The seed library's entries of Select Seed: the recent seed files, and Manage Seeds with
/// its dialog. What the writer chooses goes out as signals for the seed prompter.
class SeedLibraryCommands : public QObject
{
    Q_OBJECT

public:
    struct Entries
    {
        std::array<QAction*, SeedLibrary::maxRecent> mnuRecentSeed{};
        QAction* mnuSepSeeds = nullptr;
        QAction* mnuManageSeeds = nullptr;
    };

    SeedLibraryCommands(QWidget& owner, const Entries& entries, CommonDialog& dialog,
                        QObject* parent = nullptr);

    const SeedLibrary& library() const { return m_library; }
    /// Takes the library kept in the settings and lists its recent files.
    void setLibrary(const SeedLibrary& library);

    void mnuRecentSeed_Click(int index);
    void mnuManageSeeds_Click();
    /// A seed file the writer named was read: it becomes the latest recent one.
    void seed_FileChosen(const QString& path);
    /// Manage Seeds was confirmed.
    void frmSeeds_Accepted();

signals:
    void recentChosen(const QString& path);
    /// The library's active seeds are to be mixed.
    void mixChosen();
    /// The library changed, to be kept.
    void changed();

private:
    void showRecent();

    QWidget& m_owner;
    Entries m_entries;
    CommonDialog& m_dialog;
    SeedLibrary m_library;
    QPointer<frmSeeds> m_frmSeeds;
};
