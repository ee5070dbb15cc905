#pragma once

#include "formats/base/Progress.h"
#include "formats/rtf/RtfPage.h"
#include "formats/rtf/RtfParagraphMap.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <memory>

class QTextDocument;
class RtfDocumentWriter;

/// A document's RTF kept up to date as the document changes. After edits inside one paragraph
/// only that paragraph is written again and put in place of its old RTF, so typing costs what
/// the paragraph costs, not what the document does; anything wider writes the whole document.
/// The result is always the RTF a whole write would give.
class RtfDocumentCache : public QObject
{
    Q_OBJECT

public:
    /// The cache of document, made on first use and deleted with it.
    static RtfDocumentCache& of(QTextDocument& document);
    ~RtfDocumentCache() override;

    /// progress hears how a whole write comes on, when one is needed; the header says page.
    const QByteArray& rtf(const Progress& progress = {}, const RtfPage& page = {});

private:
    explicit RtfDocumentCache(QTextDocument& document);
    void noteChange(int position, int removed, int added);
    /// Writes the one changed paragraph again; false when it cannot stand in alone.
    bool rewriteChangedParagraph();
    /// A buffer of size bytes whose contents are to be overwritten.
    QByteArray bufferFor(qsizetype size);

    static constexpr int s_none = -1;
    static constexpr int s_several = -2;

    QTextDocument& m_document;
    /// The writer of the last whole write, whose tables every rewritten paragraph must share.
    std::unique_ptr<RtfDocumentWriter> m_writer;
    RtfParagraphMap m_map;
    QByteArray m_rtf;
    RtfPage m_page;
    /// The RTF of the last two rewrites before m_rtf, kept for their memory.
    std::array<QByteArray, 2> m_spares;
    bool m_upToDate = false;
    /// The paragraph changed since m_rtf was written, s_none or s_several.
    int m_changed = s_none;
    int m_blockCount = 0;
};
