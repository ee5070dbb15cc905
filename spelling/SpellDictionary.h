#pragma once

#include <QString>

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
    /// The folder it was looked for in, also when there was none.
    QString folder;

    bool isValid() const { return !affixFile.isEmpty(); }

    /// The dictionary in folder for locale's language: the locale's own (de_CH), that of the
    /// language's own country (de_DE), another country's (de_AT), the language alone (de),
    /// else English (US). Invalid when there is none of them.
    static SpellDictionary find(const QLocale& locale, const QString& folder);
};
