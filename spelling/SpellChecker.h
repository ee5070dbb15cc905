#pragma once

#include "spelling/PersonalDictionary.h"
#include "spelling/SpellDictionary.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <memory>

class Hunspell;

/// Checks words against a Hunspell dictionary and the writer's personal dictionary.
///
/// The dictionary is read when the first word is checked, so start-up does not wait for it,
/// and each word is asked of Hunspell once: the answer is kept until a word is added.
class SpellChecker
{
public:
    /// Where a word stands in a text.
    struct Word
    {
        qsizetype start = 0;
        qsizetype length = 0;
        friend bool operator==(const Word&, const Word&) = default;
    };

    SpellChecker(const SpellDictionary& dictionary, const QString& dataDir);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    /// Whether there is a dictionary to check with.
    bool isAvailable() const { return m_dictionary.isValid(); }
    const SpellDictionary& dictionary() const { return m_dictionary; }

    /// The words of text that spelling looks at: runs of letters, with apostrophes inside
    /// them. Words with digits or underscores, parts of addresses and words in scripts
    /// written without spaces are left alone.
    static QList<Word> words(QStringView text);
    /// The words of text the dictionaries do not know.
    QList<Word> misspellings(QStringView text);
    bool isCorrect(const QString& word);
    /// At most most of Hunspell's suggestions for word, best first.
    QStringList suggestions(const QString& word, int most = 7);

    /// Accepts word for this run (Ignore All).
    void ignore(const QString& word);
    /// Accepts word from now on: the personal dictionary keeps it across runs. False with
    /// errorString when the list could not be written.
    bool addToPersonal(const QString& word, QString* errorString);
    const PersonalDictionary& personal() const { return m_personal; }

private:
    bool load();
    std::string encoded(const QString& word, bool* ok) const;
    QString decoded(const std::string& word) const;

    SpellDictionary m_dictionary;
    PersonalDictionary m_personal;
    std::unique_ptr<Hunspell> m_hunspell;
    bool m_loadTried = false;
    bool m_utf8 = true;
    QString m_encoding;
    QHash<QString, bool> m_known;
};
