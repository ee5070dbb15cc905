#pragma once

#include <QString>
#include <QStringView>

/// The words and characters of a text, as word processors count them.
struct WordCount
{
    qint64 words = 0;
    qint64 characters = 0;

    /// Counts text. A word is a run of characters between spaces holding a letter or a digit,
    /// so punctuation standing alone is no word; in Chinese and Japanese, written without
    /// spaces, each character is a word of its own. A character is what the reader sees as
    /// one: a letter with its combining marks, or a pair of surrogates, counts once. Line
    /// breaks are no characters.
    static WordCount of(QStringView text);

    /// "1,234 words, 6,789 characters".
    QString describe() const;
    /// "12 of 1,234 words", for a selection of selectedWords in this whole.
    QString describeSelection(qint64 selectedWords) const;

    WordCount& operator+=(const WordCount& other)
    {
        words += other.words;
        characters += other.characters;
        return *this;
    }
    WordCount& operator-=(const WordCount& other)
    {
        words -= other.words;
        characters -= other.characters;
        return *this;
    }
    friend bool operator==(const WordCount&, const WordCount&) = default;
};
