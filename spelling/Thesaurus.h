#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class MyThes;

/// Words of like meaning from a MyThes thesaurus, the kind the mythes-* packages install, read
/// the first time a word is looked up.
class Thesaurus
{
public:
    /// Where Debian's mythes-* packages put their thesauri.
    static constexpr const char* systemFolder = "/usr/share/mythes";

    /// One sense of a word: its part of speech and first synonym ("(adj) glad"), then the words
    /// that may stand for it in that sense.
    struct Meaning
    {
        QString label;
        QStringList synonyms;
    };

    /// The thesaurus in folder for language, a dictionary's name such as "en_US": its own, else
    /// another of the language's ("en_GB"). Unavailable when there is none.
    Thesaurus(const QString& language, const QString& folder);
    ~Thesaurus();
    Thesaurus(const Thesaurus&) = delete;
    Thesaurus& operator=(const Thesaurus&) = delete;

    bool isAvailable() const { return !m_index.isEmpty(); }
    /// Takes the thesaurus of language in the same folder, as the constructor finds it.
    void setLanguage(const QString& language);
    /// The senses of word, each with its synonyms but not its opposites; none when the
    /// thesaurus does not know the word or is unavailable.
    QList<Meaning> meanings(const QString& word);

private:
    QList<Meaning> lookUp(const QString& word);

    QString m_folder;
    QString m_index;
    QString m_data;
    std::unique_ptr<MyThes> m_thesaurus;
    bool m_utf8 = true;
};
