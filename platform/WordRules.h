#pragma once

/// What makes a word, the one definition the word count and spelling share.
class WordRules
{
public:
    /// How a script separates its words.
    enum class Spacing {
        Spaced,      ///< with spaces, as Latin, Greek, Cyrillic, Arabic and Hebrew are
        Ideographic, ///< without: Chinese, Japanese, Yi, where each character is a word
        Unspaced,    ///< without: Thai, Lao, Khmer, Myanmar, where only a dictionary finds words
    };

    /// A letter or a digit in any script: what makes a run of characters a word.
    static bool isLetter(char32_t c);
    /// How the script of c separates its words.
    static Spacing spacingOf(char32_t c);
};
