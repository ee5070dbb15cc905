#pragma once

#include "documents/RecoveryStore.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

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

    /// dataDir is the per-user data folder, empty for the standard one; clock gives
    /// milliseconds that never go back.
    Recovery(DocumentList& documents, MessageService& messages, const QString& dataDir,
             std::function<qint64()> clock, QObject* parent = nullptr);

    /// At start-up: takes this run's lock and asks to restore what a dead run left behind.
    void restore();
    /// The editor's text changed: the copies are written once it rests.
    void txtFile_Change();
    /// Writes the copies of the documents changed since their last copy, and removes the
    /// copies of documents that are no longer unsaved.
    void tmrRecovery_Timer();
    /// The program ends cleanly: every unsaved change was saved or discarded.
    void cleanExit();
    void documents_Added(Document* document);
    /// The document's copy goes with it.
    void documents_Closed(Document* document);

    QTimer* tmrRecovery() const { return m_timer; }

private:
    static QString restorePrompt(const RecoveryStore::Orphans& orphans);
    void appendRestored(const QList<RecoveryStore::Copy>& copies);

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
    /// When the first change that waits for its copy was made.
    qint64 m_firstChange = 0;
    QHash<const Document*, Written> m_written;
};
