#pragma once

#include <QString>
#include <QStringView>

#include <vector>

/// The seed text cut at every single space, empty pieces kept; line breaks stay inside words.
///
/// Only every 64th word's position is kept, so even a seed of millions of words costs little
/// memory; a word is found from the nearest kept position, and runs walk on from word to word.
class SeedWords
{
public:
    /// One word of the list, able to step on to later words.
    class Cursor
    {
    public:
        qsizetype index() const { return m_index; }
        QStringView word() const { return QStringView(*m_text).mid(m_begin, m_end - m_begin); }
        /// Moves on to a word at or after the current one.
        void advanceTo(qsizetype index);

    private:
        friend class SeedWords;
        Cursor(const QString& text, qsizetype index, qsizetype begin);

        const QString* m_text;
        qsizetype m_index;
        qsizetype m_begin;
        qsizetype m_end;
    };

    SeedWords() = default;
    explicit SeedWords(const QString& text);

    /// True when built from this very string, so the split can be reused as it stands.
    bool isSplitOf(const QString& text) const;

    /// The number of words: u + 1, or 0 for an empty text.
    qsizetype size() const { return m_size; }
    QStringView at(qsizetype index) const { return cursorAt(index).word(); }
    /// A cursor on the word at index, which must lie in the list.
    Cursor cursorAt(qsizetype index) const;

private:
    static constexpr qsizetype stride = 64;

    QString m_text;
    qsizetype m_size = 0;
    /// Where words 0, 64, 128, ... begin.
    std::vector<qsizetype> m_kept;
};
