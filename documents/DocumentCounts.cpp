#include "documents/DocumentCounts.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

namespace {

/// One paragraph's count: it adds itself to the total and takes itself off again when its
/// paragraph is recounted or removed.
class ParagraphCount : public QTextBlockUserData
{
public:
    ParagraphCount(const WordCount& count, std::shared_ptr<WordCount> total)
        : m_count(count), m_total(std::move(total))
    {
        *m_total += m_count;
    }
    ~ParagraphCount() override { *m_total -= m_count; }

    const WordCount& count() const { return m_count; }

private:
    WordCount m_count;
    std::shared_ptr<WordCount> m_total;
};

} // namespace

DocumentCounts& DocumentCounts::of(QTextDocument& document)
{
    if (auto* counts = document.findChild<DocumentCounts*>(QString(), Qt::FindDirectChildrenOnly))
        return *counts;
    return *new DocumentCounts(document);
}

DocumentCounts::DocumentCounts(QTextDocument& document)
    : QObject(&document), m_document(document), m_total(std::make_shared<WordCount>())
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
    QTextBlock(block).setUserData(new ParagraphCount(WordCount::of(block.text()), m_total));
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
