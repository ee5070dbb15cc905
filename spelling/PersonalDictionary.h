#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

/// The writer's own words, which spelling accepts in every document and every run: a plain
/// list, one word a line, in the per-user data folder.
///
/// Other running instances and other programs write the list too, so it is never rewritten: a
/// word is added by appending a line to the list as it is at that moment, under a lock, in the
/// file's own line ending, and every line already there keeps its bytes. Reading and adding
/// touch only the file, so they may run on any thread.
class PersonalDictionary
{
public:
    /// The most of the list that is read, enough for some hundred thousand words; a longer
    /// list is read from its end, where the newest words are.
    static constexpr qint64 mostBytes = 4 * 1024 * 1024;

    /// What one reading found.
    struct Contents
    {
        QStringList words;
        qint64 fileSize = 0;
        /// How much of the file's end was read: all of it unless it is longer than mostBytes.
        qint64 bytesRead = 0;
    };

    /// dataDir is the per-user data folder, empty for the standard one, which the
    /// application's name decides: the folder is found each time the list is used.
    explicit PersonalDictionary(const QString& dataDir);

    /// The file that holds the list.
    QString path() const;
    /// The list's words, none when there is no list yet.
    Contents read() const;
    /// Adds word to the list unless it is there already; false with errorString, the system's
    /// reason, when the list could not be written.
    bool add(const QString& word, QString* errorString) const;

    /// The words of a list's bytes: one a line, whatever the line ending. A line that is not
    /// UTF-8 was written by a program that uses Latin-1.
    static QStringList wordsOf(QByteArrayView bytes);

private:
    QString m_dataDir;
};
