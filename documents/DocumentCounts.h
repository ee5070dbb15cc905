#pragma once

#include "documents/SeedCount.h"
#include "documents/WordCount.h"

#include <QObject>

#include <memory>
#include <unordered_set>
#include <vector>

class QTextBlock;
class QTextDocument;

/// The word count of a document, kept with each paragraph: an edit recounts only the
/// paragraphs it touched, so the cost of a keystroke does not grow with the document.
///
/// Each paragraph carries its own count, which leaves the total as the paragraph goes; the
/// counts live and die with the document, also while it is kept aside.
class DocumentCounts : public QObject
{
    Q_OBJECT

public:
    /// The counts of document; the first call counts the whole document once.
    static DocumentCounts& of(QTextDocument& document);

    /// The whole document; paragraph breaks are no characters.
    WordCount total() const { return *m_total; }
    /// The characters [start, end) of the document, whole paragraphs from their counts.
    WordCount range(int start, int end) const;
    /// What became of the seed text, from the paragraphs that hold any.
    SeedCount seed() const;
    /// The words the writer made: all but those wholly of seed text. A seed word with a
    /// character of the writer's in it is the writer's.
    qint64 ownWords() const { return m_total->words - *m_seedWords; }

    /// The paragraphs that hold seed text, each by its pieces.
    using SeedParagraphs = std::unordered_set<const std::vector<SeedCount::Piece>*>;

private:
    explicit DocumentCounts(QTextDocument& document);
    void document_ContentsChange(int position, int removed, int added);
    void recount(const QTextBlock& block);
    std::vector<SeedCount::Piece> seedPieces(const QTextBlock& block, qint64* seedWords);
    bool isSeedFormat(int index);

    QTextDocument& m_document;
    /// Shared with the paragraphs' counts, which may outlive this object as the document goes.
    std::shared_ptr<WordCount> m_total;
    std::shared_ptr<qint64> m_seedWords;
    std::shared_ptr<SeedParagraphs> m_seedParagraphs;
    /// By format index: whether the format marks seed text; grown as the document adds formats.
    std::vector<bool> m_seedFormats;
};
