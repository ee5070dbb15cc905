#pragma once

#include <QSet>
#include <QString>

/// The writer's own words, which spelling accepts in every document and every run: a plain
/// list, one word a line, in the per-user data folder.
class PersonalDictionary
{
public:
    /// dataDir is the per-user data folder, empty for the standard one; the list is read
    /// when first asked for, once the application's name decides that folder.
    explicit PersonalDictionary(const QString& dataDir);

    /// The file that holds the list.
    QString path() const;
    const QSet<QString>& words();
    /// Adds word to the list and writes the list; false with errorString() when it could not
    /// be written, the word then being known for this run only.
    bool add(const QString& word);
    QString errorString() const { return m_errorString; }

private:
    void load();

    QString m_dataDir;
    QSet<QString> m_words;
    bool m_loaded = false;
    QString m_errorString;
};
