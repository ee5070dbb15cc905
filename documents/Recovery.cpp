#include "documents/Recovery.h"

#include "documents/DocumentList.h"
#include "platform/MessageService.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <utility>

Recovery::Recovery(DocumentList& documents, MessageService& messages, const QString& dataDir,
                   std::function<qint64()> clock, QObject* parent)
    : QObject(parent), m_documents(documents), m_messages(messages), m_dataDir(dataDir),
      m_clock(std::move(clock))
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrRecovery"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(restMs);
    connect(m_timer, &QTimer::timeout, this, &Recovery::tmrRecovery_Timer);
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
    const qint64 now = m_clock();
    if (!m_firstChange)
        m_firstChange = now;
    m_timer->start(int(std::clamp<qint64>(*m_firstChange + longestWaitMs - now, 0, restMs)));
}

void Recovery::tmrRecovery_Timer()
{
    m_timer->stop();
    m_firstChange.reset();
    if (!m_store || !openStore())
        return;
    const Outcome outcome = writeCopies();
    dropOrphansOnceSafe();
    if (outcome == Outcome::Failed)
        troubleFound();
    else if (outcome == Outcome::Written)
        troubleOver();
}

// A folder that could not be used at start-up is tried again at each pass: recovery is never
// off for the rest of the run, and what a dead run left is offered once it can be claimed.
bool Recovery::openStore()
{
    if (m_store->isOpen())
        return true;
    if (!m_store->open()) {
        troubleFound();
        return false;
    }
    troubleOver();
    offerOrphans();
    return true;
}

Recovery::Outcome Recovery::writeCopies()
{
    Outcome outcome = Outcome::Nothing;
    const DocumentStore& docs = m_documents.store();
    for (int i = 0; i < docs.count(); ++i) {
        const Document* document = &docs.at(i);
        const QByteArray content = m_documents.contentOf(i);
        // Saved, its file holds its text: only now may its copy go.
        if (!document->isModified(content)) {
            if (m_written.remove(document))
                m_store->remove(i);
            continue;
        }
        const auto written = m_written.constFind(document);
        if (written != m_written.cend() && written->name == document->name() &&
            (written->rtf.isSharedWith(content) || written->rtf == content))
            continue;
        // A failed write leaves the previous copy, marked stale, and m_written as it was, so
        // the next pass tries again.
        const bool ok = m_store->write({i, document->name(), document->hasFile(), content});
        if (ok)
            m_written.insert(document, {content, document->name()});
        outcome = std::max(outcome, ok ? Outcome::Written : Outcome::Failed);
    }
    return outcome;
}

void Recovery::troubleFound()
{
    // Tried again even if the writer types nothing more: what waits is at risk meanwhile.
    m_timer->start(retryMs);
    if (std::exchange(m_troubleTold, true))
        return;
    m_messages.MsgBox(
        tr("Quillmere cannot keep recovery copies of your unsaved changes in the folder %1.\n%2."
           "\n\nShould Quillmere close unexpectedly, the changes made since the last copy would "
           "be lost: save your documents to keep them safe. Quillmere keeps trying and will tell "
           "you when it can keep copies again.")
            .arg(QDir::toNativeSeparators(m_store->folder()), m_store->errorString()),
        MessageService::Icon::Warning);
}

void Recovery::troubleOver()
{
    if (!std::exchange(m_troubleTold, false))
        return;
    m_messages.MsgBox(tr("Quillmere keeps recovery copies of your unsaved changes in the folder "
                         "%1 again.")
                          .arg(QDir::toNativeSeparators(m_store->folder())),
                      MessageService::Icon::Information);
}

void Recovery::documents_Added(Document* document)
{
    // A document that arrives unsaved, as a restored one does, is kept safe at once.
    if (document->origin() == Document::Origin::Restored)
        tmrRecovery_Timer();
}

void Recovery::documents_Closed(Document* document)
{
    if (m_written.remove(document))
        m_store->remove(m_documents.store().indexOf(document));
}

// Every unsaved document was saved or discarded, restored ones too.
void Recovery::cleanExit()
{
    m_timer->stop();
    if (m_store) {
        m_store->removeAll();
        m_store->dropClaimed();
    }
    m_written.clear();
}

void Recovery::restore()
{
    m_store = std::make_unique<RecoveryStore>(RecoveryStore::folderFor(m_dataDir));
    openStore();
}

void Recovery::offerOrphans()
{
    const RecoveryStore::Orphans orphans = m_store->claimOrphans();
    using Button = MessageService::Button;
    if (!orphans.copies.isEmpty() &&
        m_messages.ask(restorePrompt(orphans), {Button::Restore, Button::Discard},
                       Button::Restore) == Button::Restore) {
        appendRestored(orphans.copies);
        m_orphansHeld = true;
        dropOrphansOnceSafe();
        return;
    }
    m_store->dropClaimed();
}

QString Recovery::restorePrompt(const RecoveryStore::Orphans& orphans)
{
    QString prompt = orphans.copies.size() == 1
                         ? tr("Quillmere closed unexpectedly. Restore 1 unsaved document?")
                         : tr("Quillmere closed unexpectedly. Restore %1 unsaved documents?")
                               .arg(orphans.copies.size());
    QStringList stale;
    for (const RecoveryStore::Copy& copy : orphans.copies)
        if (copy.stale)
            stale << copy.name;
    if (stale.size() == 1)
        prompt += tr("\n\nThe copy of %1 misses its last changes, which could not be written.")
                      .arg(stale[0]);
    else if (stale.size() > 1)
        prompt += tr("\n\nThe copies of %1 miss their last changes, which could not be written.")
                      .arg(stale.join(QLatin1String(", ")));
    if (orphans.unreadable == 1)
        prompt += tr("\n\n1 damaged recovery copy could not be read and is left out.");
    else if (orphans.unreadable > 1)
        prompt += tr("\n\n%1 damaged recovery copies could not be read and are left out.")
                      .arg(orphans.unreadable);
    return prompt;
}

// Restored documents are never saved here, so the exit question covers them, and Undo straight
// away keeps them.
void Recovery::appendRestored(const QList<RecoveryStore::Copy>& copies)
{
    // A start-up document nobody has written in gives its place to the first one restored.
    bool startupUnused = m_documents.isUnusedStartup();
    int first = -1;
    for (const RecoveryStore::Copy& copy : copies) {
        auto document = m_documents.store().create(Document::Origin::Restored, copy.name, copy.rtf);
        // The copy is RTF whatever the file was: Save writes the file back in its own format.
        if (const auto* format = DocumentFormats::forExtension(QFileInfo(copy.name).suffix()))
            document->setFormat(*format);
        int at = openInstead(*document);
        if (at >= 0)
            m_documents.replace(at, std::move(document));
        else if (std::exchange(startupUnused, false))
            m_documents.replace(at = 0, std::move(document));
        else
            at = m_documents.add(std::move(document));
        if (first < 0)
            first = at;
    }
    m_documents.selectEntry(first);
}

// Offered late, the copy of a file may find it open already, as the last session reopens its
// files: the copy holds the later words, and takes the file's place and the writer's place in
// it. One the writer has changed since stays, and the copy comes untitled beside it.
int Recovery::openInstead(Document& restored)
{
    const int open = restored.hasFile() ? m_documents.store().indexOf(restored.name()) : -1;
    if (open < 0)
        return -1;
    if (m_documents.isModified(open)) {
        restored.setName(m_documents.nextUntitledName());
        return -1;
    }
    restored.setPlace(m_documents.placeOf(open));
    return open;
}

// On a full disk the dead run's copy may be all there is of a restored document's text until
// this run writes one of its own, or the document is saved.
void Recovery::dropOrphansOnceSafe()
{
    if (!m_orphansHeld)
        return;
    const DocumentStore& docs = m_documents.store();
    for (int i = 0; i < docs.count(); ++i)
        if (docs.at(i).origin() == Document::Origin::Restored && m_documents.isModified(i) &&
            !m_written.contains(&docs.at(i)))
            return;
    m_store->dropClaimed();
    m_orphansHeld = false;
}
