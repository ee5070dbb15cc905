#pragma once

#include "documents/RecoveryStore.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Document;
class DocumentList;
class MessageService;
class QTimer;

/// Keeps a recovery copy of every open document with unsaved changes, and offers the copies
/// of a run that ended without a clean exit at the next start.
class Recovery : public QObject
{
    Q_OBJECT

public:
    /// How long the text must rest before the copies are written.
    static constexpr int restMs = 2000;
    /// The longest a change waits for its copy while the writer keeps typing.
    static constexpr int longestWaitMs = 5000;
    /// How long copies that could not be written wait to be tried again.
    static constexpr int retryMs = 30000;

    /// dataDir is the per-user data folder, empty for the standard one; clock gives
    /// milliseconds that never go back.
    Recovery(DocumentList& documents, MessageService& messages, const QString& dataDir,
             std::function<qint64()> clock, QObject* parent = nullptr);

    /// At start-up: takes this run's lock and asks to restore what a dead run left behind;
    /// when the lock cannot be taken, says so and tries again later.
    void restore();
    /// The editor's text changed: the copies are written once it rests.
    void txtFile_Change();
    /// Writes the copies of the documents changed since their last copy, and removes the
    /// copies of documents that are no longer unsaved; tells the writer when copies cannot be
    /// written, and again once they can.
    void tmrRecovery_Timer();
    /// The program ends cleanly: every unsaved change was saved or discarded.
    void cleanExit();
    void documents_Added(Document* document);
    /// The document's copy goes with it.
    void documents_Closed(Document* document);

    QTimer* tmrRecovery() const { return m_timer; }

private:
    /// What a pass over the documents did, the worst last.
    enum class Outcome { Nothing, Written, Failed };

    /// Takes this run's lock if it has not yet, then offers what dead runs left; false while
    /// the lock cannot be taken.
    bool openStore();
    Outcome writeCopies();
    /// Asks to restore what dead runs left behind.
    void offerOrphans();
    static QString restorePrompt(const RecoveryStore::Orphans& orphans);
    void appendRestored(const QList<RecoveryStore::Copy>& copies);
    /// The document restored's file's entry when it is open and unchanged, which the restored
    /// document takes; -1 otherwise.
    int openInstead(Document& restored);
    /// Lets the dead run's copies go once each document restored from them is safe here.
    void dropOrphansOnceSafe();
    /// Copies cannot be written: they are tried again later, and the writer told once.
    void troubleFound();
    /// Copies are written again after the writer was told they could not be.
    void troubleOver();

    struct Written
    {
        QByteArray rtf;
        QString name;
    };

    DocumentList& m_documents;
    MessageService& m_messages;
    QString m_dataDir;
    /// Made at start-up, once the application's name decides the data folder.
    std::unique_ptr<RecoveryStore> m_store;
    std::function<qint64()> m_clock;
    QTimer* m_timer = nullptr;
    /// When the first change that waits for its copy was made; nothing while none waits.
    std::optional<qint64> m_firstChange;
    QHash<const Document*, Written> m_written;
    /// Restored documents that may still have no copy but the dead run's.
    bool m_orphansHeld = false;
    /// The writer was told copies cannot be written, and not yet that they can again.
    bool m_troubleTold = false;
};
