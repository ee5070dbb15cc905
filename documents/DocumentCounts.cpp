#include "documents/DocumentCounts.h"

#include "formats/base/ParagraphPieces.h"
#include "formats/base/TextProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

namespace {

/// One paragraph's count: it adds itself to the total and takes itself off again when its
/// paragraph is recounted or removed.
class ParagraphCount : public QTextBlockUserData
{
public:
    ParagraphCount(const WordCount& count, std::shared_ptr<WordCount> total,
                   std::vector<SeedCount::Piece> seed, qint64 seedWords,
                   std::shared_ptr<qint64> totalSeedWords,
                   std::shared_ptr<DocumentCounts::SeedParagraphs> seedParagraphs)
        : m_count(count), m_total(std::move(total)), m_seed(std::move(seed)),
          m_seedWords(seedWords), m_totalSeedWords(std::move(totalSeedWords)),
          m_seedParagraphs(std::move(seedParagraphs))
    {
        *m_total += m_count;
        *m_totalSeedWords += m_seedWords;
        if (!m_seed.empty())
            m_seedParagraphs->insert(&m_seed);
    }
    ~ParagraphCount() override
    {
        *m_total -= m_count;
        *m_totalSeedWords -= m_seedWords;
        if (!m_seed.empty())
            m_seedParagraphs->erase(&m_seed);
    }

    const WordCount& count() const { return m_count; }

private:
    WordCount m_count;
    std::shared_ptr<WordCount> m_total;
    std::vector<SeedCount::Piece> m_seed;
    qint64 m_seedWords;
    std::shared_ptr<qint64> m_totalSeedWords;
    std::shared_ptr<DocumentCounts::SeedParagraphs> m_seedParagraphs;
};

// The words wholly inside the seed text [from, to) of text: a word the stretch shares with the
// writer's text beside it is the writer's.
qint64 wholeSeedWords(QStringView text, qsizetype from, qsizetype to)
{
    const auto joined = [&](qsizetype at) {
        return !text[at - 1].isSpace() && !text[at].isSpace();
    };
    if (from > 0 && from < to && joined(from))
        while (from < to && !text[from].isSpace())
            ++from;
    if (to < text.size() && from < to && joined(to))
        while (to > from && !text[to - 1].isSpace())
            --to;
    return WordCount::of(text.mid(from, to - from)).words;
}

// A piece of a long paragraph counts as if its break were the space it took the place of, or
// nothing, in which case a word the break cuts counts once.
WordCount countOf(const QTextBlock& block)
{
    const QString text = block.text();
    WordCount count = WordCount::of(text);
    const ParagraphPieces::Joint joint = ParagraphPieces::jointBefore(block);
    if (joint == ParagraphPieces::Joint::Space) {
        ++count.characters;
    } else if (joint == ParagraphPieces::Joint::Nothing) {
        const QString before = block.previous().text();
        if (!text.isEmpty() && text.front().isLetterOrNumber() && !before.isEmpty() &&
            before.back().isLetterOrNumber() && count.words > 0)
            --count.words;
    }
    return count;
}

} // namespace

DocumentCounts& DocumentCounts::of(QTextDocument& document)
{
    if (auto* counts = document.findChild<DocumentCounts*>(QString(), Qt::FindDirectChildrenOnly))
        return *counts;
    return *new DocumentCounts(document);
}

DocumentCounts::DocumentCounts(QTextDocument& document)
    : QObject(&document), m_document(document), m_total(std::make_shared<WordCount>()),
      m_seedWords(std::make_shared<qint64>(0)), m_seedParagraphs(std::make_shared<SeedParagraphs>())
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        recount(block);
    // A document reports its changes only once it has a layout; the editor's always have one.
    document.documentLayout();
    connect(&document, &QTextDocument::contentsChange, this,
            &DocumentCounts::document_ContentsChange);
}

// Paragraphs merged away took their counts with them; those the change reached count again.
void DocumentCounts::document_ContentsChange(int position, int /*removed*/, int added)
{
    const int last = qMin(position + added, m_document.characterCount() - 1);
    for (QTextBlock block = m_document.findBlock(position); block.isValid(); block = block.next()) {
        recount(block);
        if (block.contains(last))
            break;
    }
}

void DocumentCounts::recount(const QTextBlock& block)
{
    qint64 seedWords = 0;
    std::vector<SeedCount::Piece> pieces = seedPieces(block, &seedWords);
    QTextBlock(block).setUserData(new ParagraphCount(countOf(block), m_total, std::move(pieces),
                                                     seedWords, m_seedWords, m_seedParagraphs));
}

// A run another run was written into is still as it was written: its pieces on either side of
// the other count as one, as long as only seed text lies between them.
std::vector<SeedCount::Piece> DocumentCounts::seedPieces(const QTextBlock& block, qint64* seedWords)
{
    std::vector<SeedCount::Piece> pieces;
    std::vector<int> ends;
    QString text;
    // Where the unbroken seed text the fragments are in began; -1 outside seed text.
    int stretch = -1;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        if (!isSeedFormat(fragment.charFormatIndex())) {
            if (stretch >= 0)
                *seedWords += wholeSeedWords(text, stretch, fragment.position() - block.position());
            stretch = -1;
            continue;
        }
        if (text.isNull())
            text = block.text();
        const int from = fragment.position() - block.position();
        stretch = stretch < 0 ? from : stretch;
        const QTextCharFormat format = fragment.charFormat();
        const qint64 run = format.property(TextProperties::SeedRun).toLongLong();
        const qint64 words = WordCount::of(QStringView(text).mid(from, fragment.length())).words;
        size_t piece = 0;
        while (piece < pieces.size() && (pieces[piece].run != run || ends[piece] < stretch))
            ++piece;
        if (piece == pieces.size()) {
            pieces.push_back({run, format.property(TextProperties::SeedRunLength).toLongLong(),
                              format.property(TextProperties::SeedRunWords).toLongLong(),
                              format.property(TextProperties::SeedRunBreaks).toLongLong(), 0, 0,
                              stretch == 0, false});
            ends.push_back(0);
        }
        pieces[piece].characters += fragment.length();
        pieces[piece].words += words;
        ends[piece] = from + fragment.length();
    }
    if (stretch >= 0)
        *seedWords += wholeSeedWords(text, stretch, text.size());
    // Seed text to the paragraph's end goes on in the next paragraph.
    for (size_t piece = 0; stretch >= 0 && piece < pieces.size(); ++piece)
        pieces[piece].atEnd = ends[piece] >= stretch;
    return pieces;
}

bool DocumentCounts::isSeedFormat(int index)
{
    if (index < 0)
        return false;
    if (size_t(index) >= m_seedFormats.size()) {
        const QList<QTextFormat> formats = m_document.allFormats();
        for (size_t at = m_seedFormats.size(); at < size_t(formats.size()); ++at)
            m_seedFormats.push_back(formats[qsizetype(at)].hasProperty(TextProperties::SeedRun));
    }
    return size_t(index) < m_seedFormats.size() && m_seedFormats[size_t(index)];
}

SeedCount DocumentCounts::seed() const
{
    std::vector<SeedCount::Piece> pieces;
    for (const std::vector<SeedCount::Piece>* paragraph : *m_seedParagraphs)
        pieces.insert(pieces.end(), paragraph->cbegin(), paragraph->cend());
    return SeedCount::of(pieces);
}

WordCount DocumentCounts::range(int start, int end) const
{
    WordCount n;
    for (QTextBlock block = m_document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        const int from = qMax(start, block.position()) - block.position();
        const int to = qMin(end, block.position() + block.length() - 1) - block.position();
        const auto* counted = static_cast<const ParagraphCount*>(block.userData());
        if (from == 0 && to == block.length() - 1 && counted)
            n += counted->count();
        else
            n += WordCount::of(QStringView(block.text()).mid(from, qMax(0, to - from)));
    }
    return n;
}
