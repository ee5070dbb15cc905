#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QLocale;

/// A Hunspell dictionary: its affix and word files, and the language they are named after.
struct SpellDictionary
{
    /// Where Debian's hunspell-* packages put their dictionaries.
    static constexpr const char* systemFolder = "/usr/share/hunspell";

    QString affixFile;
    QString wordFile;
    /// The dictionary's name, such as "en_US".
    QString name;
    /// The folders it was looked for in, also when there was none.
    QStringList folders;

    bool isValid() const { return !affixFile.isEmpty(); }
    /// The language as the writer reads it, such as "English (United States)", with the name
    /// where that alone would not tell two dictionaries apart.
    QString languageName() const;

    /// Where distributions put dictionaries, the writer's own folder first.
    static QStringList systemFolders();
    /// Every dictionary in folders, one of each name (from the first folder that has it),
    /// in the order of their language names.
    static QList<SpellDictionary> installed(const QStringList& folders);
    /// The dictionary called name from the first of folders that has it; invalid when none has.
    static SpellDictionary named(const QString& name, const QStringList& folders);
    /// The dictionary in folders for locale's language: the locale's own (de_CH), that of the
    /// language's own country (de_DE), another country's (de_AT), the language alone (de),
    /// else English (US). Invalid when there is none of them.
    static SpellDictionary find(const QLocale& locale, const QStringList& folders);
};
