#include "formats/rtf/RtfDocumentCache.h"

#include "formats/rtf/RtfDocumentWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

RtfDocumentCache& RtfDocumentCache::of(QTextDocument& document)
{
    if (auto* cache = document.findChild<RtfDocumentCache*>(QString(), Qt::FindDirectChildrenOnly))
        return *cache;
    return *new RtfDocumentCache(document);
}

RtfDocumentCache::RtfDocumentCache(QTextDocument& document)
    : QObject(&document), m_document(document)
{
    // A document says where it changed only once it has a layout.
    document.documentLayout();
    connect(&document, &QTextDocument::contentsChange, this, &RtfDocumentCache::noteChange);
}

RtfDocumentCache::~RtfDocumentCache() = default;

// Splitting or joining paragraphs changes the count; an edit that reaches two paragraphs or
// follows an edit of another is more than one paragraph can carry.
void RtfDocumentCache::noteChange(int position, int /*removed*/, int added)
{
    m_upToDate = false;
    if (m_changed == s_several)
        return;
    const int first = m_document.findBlock(position).blockNumber();
    const int last = m_document.findBlock(position + added).blockNumber();
    if (m_document.blockCount() != m_blockCount || first != last ||
        (m_changed != s_none && m_changed != first))
        m_changed = s_several;
    else
        m_changed = first;
}

const QByteArray& RtfDocumentCache::rtf(const Progress& progress, const RtfPage& page)
{
    if (page != m_page) {
        m_page = page;
        m_upToDate = false;
        m_changed = s_several;
    }
    if (m_upToDate)
        return m_rtf;
    if (m_changed < 0 || !m_writer || !rewriteChangedParagraph()) {
        m_writer = std::make_unique<RtfDocumentWriter>(m_document, m_page);
        m_rtf = m_writer->write(&m_map, progress);
    }
    m_upToDate = true;
    m_changed = s_none;
    m_blockCount = m_document.blockCount();
    return m_rtf;
}

// The paragraph stands in alone when it uses the same table entries in the same order
// and leaves the writer as before: then the tables and every other paragraph stay as they were.
// A list paragraph's number depends on its neighbours, so lists are always written whole, as are
// paragraphs with notes' marks.
bool RtfDocumentCache::rewriteChangedParagraph()
{
    const size_t index = size_t(m_changed);
    if (index >= m_map.paragraphs.size())
        return false;
    const RtfParagraphMap::Paragraph old = m_map.paragraphs[index];
    const bool hadStyleSheet = m_writer->hasStyleSheet();
    const RtfParagraphBoundary& before =
        index == 0 ? m_map.boundaries.front()
                   : m_map.boundaries[m_map.paragraphs[index - 1].boundary];
    RtfParagraphMap::Paragraph written;
    RtfParagraphBoundary after;
    const std::optional<QByteArray> bytes =
        m_writer->writeParagraph(m_document.findBlockByNumber(m_changed), before, &written, &after);
    if (!bytes || old.dependent || written.dependent || written.tableUse != old.tableUse ||
        !(after == m_map.boundaries[old.boundary]))
        return false;
    const qsizetype start = index == 0 ? m_map.headerSize : m_map.paragraphs[index - 1].end;
    // The first seed text of a document puts a style sheet in the header, once.
    const QByteArray header =
        m_writer->hasStyleSheet() != hadStyleSheet ? m_writer->header() : QByteArray();
    const qsizetype oldHeader = header.isNull() ? 0 : m_map.headerSize;
    const qsizetype moved = header.size() - oldHeader;
    const qsizetype grown = bytes->size() - (old.end - start);
    // The old RTF is usually still held as the latest recorded state, so the new one is a
    // copy anyway: made in one pass, not detached first and then moved about.
    QByteArray spliced = bufferFor(m_rtf.size() + moved + grown);
    char* out = std::copy(header.cbegin(), header.cend(), spliced.data());
    out = std::copy(m_rtf.cbegin() + oldHeader, m_rtf.cbegin() + start, out);
    out = std::copy(bytes->cbegin(), bytes->cend(), out);
    std::copy(m_rtf.cbegin() + old.end, m_rtf.cend(), out);
    m_spares[1] = std::exchange(m_spares[0], std::exchange(m_rtf, std::move(spliced)));
    m_map.headerSize += moved;
    for (size_t at = moved != 0 ? 0 : index; at < m_map.paragraphs.size(); ++at)
        m_map.paragraphs[at].end += moved + (at >= index ? grown : 0);
    return true;
}

// The recorded states let go of the RTF of two keys ago; writing into its memory again spares
// the system handing out and clearing a fresh document-sized block on every key.
QByteArray RtfDocumentCache::bufferFor(qsizetype size)
{
    for (QByteArray& spare : m_spares) {
        if (spare.isDetached() && spare.capacity() >= size) {
            QByteArray buffer = std::move(spare);
            buffer.resize(size);
            return buffer;
        }
    }
    QByteArray buffer;
    buffer.reserve(size + size / 64);
    buffer.resize(size);
    return buffer;
}
