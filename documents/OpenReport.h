#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// What went wrong or was lost while opening files, told in one message when they are all
/// open: one file's trouble in its own sentence, several files' as lists short enough for a
/// box, the files named without their folder when they share one.
class OpenReport
{
public:
    /// path could not be opened; reason is a sentence.
    void failed(const QString& path, const QString& reason);
    /// path was opened, but held things the editor cannot keep.
    void lost(const QString& path, const QStringList& losses);

    bool isEmpty() const { return m_failed.isEmpty() && m_lost.isEmpty(); }
    bool hasFailures() const { return !m_failed.isEmpty(); }
    /// The whole message, when tried files were opened or tried in all.
    QString message(qsizetype tried) const;

private:
    struct Entry
    {
        QString path;
        QString text;
    };

    /// The one file's trouble in its own sentence.
    QString single() const;
    QString failedList(qsizetype tried, const QString& folder) const;
    QString lostList(const QString& folder) const;
    /// Lines for entries: the first few, then how many more, shortened paths relative to folder.
    static QStringList list(const QList<Entry>& entries, const QString& folder);
    /// The folder every file is in, or nothing when they are in several.
    QString commonFolder() const;

    QList<Entry> m_failed;
    QList<Entry> m_lost;
};
