#include "documents/Recovery.h"

#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QTimer>

Recovery::Recovery(frmVellumo& window) : QObject(&window), m_window(window)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrRecovery"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
    connect(m_timer, &QTimer::timeout, this, [this] { tmrRecovery_Timer(); });
    connect(m_window.txtFile(), &QTextEdit::textChanged, this, [this] { txtFile_Change(); });
    // Save and Save As run their handlers first; a saved document's copy goes right after.
    for (QAction* entry : {m_window.menu().mnuSave, m_window.menu().mnuSaveas})
        connect(entry, &QAction::triggered, this, [this] { tmrRecovery_Timer(); });
    // Whatever comes next (a crash, a killed session) may come while the writer is away.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    tmrRecovery_Timer();
            });
}

// Every change restarts the rest period, but a writer who never pauses still gets a copy
// within the longest wait.
void Recovery::txtFile_Change()
{
    if (!m_timer->isActive())
        m_waiting.start();
    else if (m_waiting.elapsed() + restMs > longestWaitMs)
        return;
    m_timer->start();
}

void Recovery::tmrRecovery_Timer()
{
    m_timer->stop();
    if (!m_store || !m_store->isOpen())
        return;
    const DocumentStore& docs = m_window.documents()->store();
    for (int i = 0; i < docs.count(); ++i) {
        const QByteArray content =
            i == docs.curDoc() ? m_window.txtFile()->rtfData() : docs.docRTF(i);
        const QString name = m_window.cmbFiles()->itemText(i);
        if (!docs.isModified(i, content)) {
            if (m_written.remove(i))
                m_store->remove(i);
            continue;
        }
        const auto written = m_written.constFind(i);
        if (written != m_written.cend() && written->name == name &&
            (written->rtf.isSharedWith(content) || written->rtf == content))
            continue;
        // A failed write (a full disk) leaves the previous copy; the next change tries again.
        if (m_store->write({i, name, DocumentStore::isFilePath(name), content}))
            m_written.insert(i, {content, name});
    }
}

void Recovery::cleanExit()
{
    m_timer->stop();
    if (m_store)
        m_store->removeAll();
    m_written.clear();
}

void Recovery::restore()
{
    m_store =
        std::make_unique<RecoveryStore>(RecoveryStore::folderFor(m_window.services().dataDir));
    if (!m_store->open())
        return;
    const RecoveryStore::Orphans orphans = m_store->claimOrphans();
    if (!orphans.copies.isEmpty()) {
        QString prompt = tr("Quillmere closed unexpectedly. Restore %1 unsaved documents?")
                             .arg(orphans.copies.size());
        if (orphans.unreadable > 0)
            prompt += tr("\n\n%1 damaged recovery copies could not be read and are left out.")
                          .arg(orphans.unreadable);
        using Button = MessageService::Button;
        const Button answer = m_window.services().messages->ask(
            prompt, {Button::Restore, Button::Discard}, Button::Restore);
        if (answer == Button::Restore) {
            appendRestored(orphans.copies);
            // The restored text is safe under this run's name before the old copies go.
            tmrRecovery_Timer();
        }
    }
    m_store->dropClaimed();
}

void Recovery::appendRestored(const QList<RecoveryStore::Copy>& copies)
{
    DocumentList& documents = *m_window.documents();
    DocumentStore& docs = documents.store();
    QComboBox* list = m_window.cmbFiles();
    const int first = list->count();
    for (const RecoveryStore::Copy& copy : copies) {
        list->addItem(copy.isFilePath ? copy.name : docs.nextUntitledName());
        docs.resize(list->count());
        // Never saved here, so the exit question covers it; Undo straight away keeps it.
        docs.setDocRTF(list->count() - 1, copy.rtf);
        docs.setUndoRTF(list->count() - 1, copy.rtf);
    }
    documents.selectEntry(first);
}
