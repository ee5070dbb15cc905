#pragma once

#include "platform/TextPlace.h"

#include <QList>
#include <QObject>
#include <QString>

class Document;
class DocumentList;
class FileCommands;
class QAction;
class QSettings;
class RichTextBox;

/// The files that were open at the last normal exit, with where the writer was in each and
/// which one was shown, opened again at the next start; the checkable "Reopen Last Session"
/// entry turns that off.
class LastSession : public QObject
{
    Q_OBJECT

public:
    LastSession(RichTextBox& editor, DocumentList& documents, FileCommands& files, QAction& entry,
                QObject* parent = nullptr);

    /// Reads the stored session and the entry's mark from the settings' current group.
    void load(QSettings& settings);
    /// Writes what remember() took, and the entry's mark, into the settings' current group.
    void save(QSettings& settings) const;

    /// Takes note of the open documents and where the writer is in each, before the exit's
    /// questions move through them; their names are read when saved, so a document saved in
    /// answer is kept under its file's name.
    void remember();
    /// Opens the stored session's files as Open does at start-up, with one message for those
    /// that cannot be, unless the entry is off. A file already open, as a recovered copy is, is
    /// given its place all the same.
    void reopen();

    void mnuReopenSession_Click();

private:
    struct Entry
    {
        QString path;
        TextPlace place;
    };
    struct Remembered
    {
        const Document* document = nullptr;
        TextPlace place;
    };

    RichTextBox& m_editor;
    DocumentList& m_documents;
    FileCommands& m_files;
    QAction& m_entry;
    /// The session read at start-up.
    QList<Entry> m_stored;
    int m_storedCurrent = -1;
    QList<Remembered> m_remembered;
    const Document* m_rememberedCurrent = nullptr;
};
