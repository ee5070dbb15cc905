#include "dialogs/SeedLibraryCommands.h"

#include "dialogs/frmSeeds.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

SeedLibraryCommands::SeedLibraryCommands(QWidget& owner, const Entries& entries,
                                         CommonDialog& dialog, QObject* parent)
    : QObject(parent), m_owner(owner), m_entries(entries), m_dialog(dialog)
{
    showRecent();
}

void SeedLibraryCommands::setLibrary(const SeedLibrary& library)
{
    m_library = library;
    showRecent();
}

void SeedLibraryCommands::showRecent()
{
    for (size_t index = 0; index < m_entries.mnuRecentSeed.size(); ++index) {
        QAction* entry = m_entries.mnuRecentSeed[index];
        const bool listed = qsizetype(index) < m_library.recent.size();
        entry->setVisible(listed);
        if (!listed)
            continue;
        const QString& path = m_library.recent[qsizetype(index)];
        // The file's own name, its folder shown where the mouse rests.
        entry->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QLatin1String("&&"))));
        entry->setToolTip(QDir::toNativeSeparators(path));
    }
    m_entries.mnuSepSeeds->setVisible(!m_library.recent.isEmpty());
}

void SeedLibraryCommands::mnuRecentSeed_Click(int index)
{
    if (index < m_library.recent.size())
        emit recentChosen(m_library.recent[index]);
}

void SeedLibraryCommands::seed_FileChosen(const QString& path)
{
    m_library.addRecent(path);
    showRecent();
    emit changed();
}

void SeedLibraryCommands::mnuManageSeeds_Click()
{
    if (!m_frmSeeds) {
        m_frmSeeds = new frmSeeds(&m_owner, m_dialog);
        m_frmSeeds->setAttribute(Qt::WA_DeleteOnClose);
        m_frmSeeds->setWindowModality(Qt::ApplicationModal);
        connect(m_frmSeeds, &QDialog::accepted, this, &SeedLibraryCommands::frmSeeds_Accepted);
    }
    m_frmSeeds->setLibrary(m_library);
    m_frmSeeds->show();
    m_frmSeeds->raise();
}

void SeedLibraryCommands::frmSeeds_Accepted()
{
    m_library = m_frmSeeds->library();
    emit changed();
    if (m_library.hasActive())
        emit mixChosen();
}
