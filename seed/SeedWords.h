#pragma once

#include <QString>
#include <QStringView>

#include <vector>

/// The seed text cut at every single space, empty pieces kept; line breaks stay inside words.
///
/// The words are kept as positions in the text, so a long seed costs no copy per word.
class SeedWords
{
public:
    SeedWords() = default;
    explicit SeedWords(const QString& text);

    /// True when built from this very string, so the split can be reused as it stands.
    bool isSplitOf(const QString& text) const;

    /// The number of words: u + 1, or 0 for an empty text.
    qsizetype size() const { return m_text.isEmpty() ? 0 : qsizetype(m_separators.size()) + 1; }
    QStringView at(qsizetype index) const;

private:
    QString m_text;
    std::vector<qsizetype> m_separators;
};
