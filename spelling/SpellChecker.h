#pragma once

#include "spelling/PersonalDictionary.h"
#include "spelling/SpellDictionary.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QStringView>
#include <QThreadPool>

#include <atomic>
#include <memory>

class Hunspell;
class QFileSystemWatcher;
class QTextDocument;
class QTimer;

/// Checks words against a Hunspell dictionary and the writer's personal dictionary.
///
/// Both can be large, so they are read on a worker thread, never on the window's: until they
/// are, no word is wrong, and ready() tells when they are. Each word is asked of Hunspell once
/// and the answer kept. The personal dictionary is written on the worker too, and watched:
/// when another instance adds words to it, it is read again and ready() tells once more.
class SpellChecker : public QObject
{
    Q_OBJECT

public:
    /// Where a word stands in a text.
    struct Word
    {
        qsizetype start = 0;
        qsizetype length = 0;
        friend bool operator==(const Word&, const Word&) = default;
    };

    SpellChecker(const SpellDictionary& dictionary, const QString& dataDir,
                 QObject* parent = nullptr);
    /// Waits for the worker's reading or writing to end.
    ~SpellChecker() override;

    /// Whether there is a dictionary to check with.
    bool isAvailable() const { return m_dictionary.isValid(); }
    const SpellDictionary& dictionary() const { return m_dictionary; }
    /// Checks with dictionary from now on. Once read dictionaries are read anew, the words keep
    /// the old answers until they are, and ready() tells when.
    void setDictionary(const SpellDictionary& dictionary);

    /// Starts reading the dictionaries, unless they are read or being read.
    void load();
    /// Whether the dictionaries are read, so that words can be checked.
    bool isReady() const { return bool(m_hunspell); }

    /// The words of text that spelling looks at: runs of letters, with apostrophes inside
    /// them. Words with digits or underscores, parts of addresses and words in scripts
    /// written without spaces are left alone.
    static QList<Word> words(QStringView text);
    /// The words of document that start between positions first and last, with the text
    /// around them and where that text starts in document.
    struct Around
    {
        QString text;
        int start = 0;
        QList<Word> words;
    };
    static Around wordsAround(const QTextDocument& document, int first, int last);
    /// Whether the dictionaries know word; true until they are read.
    bool isCorrect(const QString& word);
    /// At most most of Hunspell's suggestions for word, best first.
    QStringList suggestions(const QString& word, int most = 7);

    /// Accepts word for this run (Ignore All).
    void ignore(const QString& word);
    /// Accepts word from now on: it is accepted at once, and the personal dictionary keeps it
    /// across runs once the worker has written it, or personalNotKept() says why not.
    void addToPersonal(const QString& word);
    const PersonalDictionary& personal() const { return m_personal; }

signals:
    /// The dictionaries were read, or read again: a word may have another answer now.
    void ready();
    /// word is accepted until the program closes, but the personal dictionary could not keep
    /// it, for reason.
    void personalNotKept(const QString& word, const QString& reason);
    /// The personal dictionary, fileSize bytes long, is longer than what is read of it: its
    /// last bytesRead bytes, which hold wordsRead words. Said once a run.
    void personalTooLarge(qint64 fileSize, qint64 bytesRead, qsizetype wordsRead);

private:
    struct Loaded;

    void readDictionaries(const SpellDictionary& dictionary, bool unlessSame);
    void takeLoaded(const std::shared_ptr<Loaded>& loaded);
    void personal_Change();
    void watchPersonal();
    void learn(const QString& word);
    std::string encoded(const QString& word, bool* ok) const;
    QString decoded(const std::string& word) const;

    SpellDictionary m_dictionary;
    PersonalDictionary m_personal;
    std::unique_ptr<Hunspell> m_hunspell;
    bool m_loading = false;
    QString m_encoding;
    QHash<QString, bool> m_known;
    /// Words accepted during this run, which a dictionary read again must know too.
    QSet<QString> m_accepted;
    bool m_toldTooLarge = false;
    QFileSystemWatcher* m_watcher = nullptr;
    /// Gathers the several changes one addition to the file makes into one reading.
    QTimer* m_personalChange = nullptr;
    /// The personal words the loaded Hunspell knows: only the worker touches them.
    QSet<QString> m_workerWords;
    std::atomic<bool> m_closing = false;
    /// One worker thread, so readings and additions happen in the order they were asked for.
    /// Last, so it is gone, and its work done, before the members that work uses.
    QThreadPool m_worker;
};
