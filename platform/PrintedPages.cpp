#include "platform/PrintedPages.h"

#include "formats/base/ListMarker.h"
#include "formats/base/ParagraphPieces.h"
#include "formats/base/Twips.h"
#include "formats/rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

#include <optional>

namespace {

/// A stretch of the column a page may start with: a line, or a table row, which is not split.
struct Segment
{
    qreal top = 0;
    bool breakBefore = false;
    /// The number of the paragraph whose line it is, when that is not the paragraph's first.
    int continuedBlock = -1;
    /// An empty paragraph, which shows nothing.
    bool blank = false;
    /// The footnotes whose marks it holds.
    QList<int> notes;
};

// Table rows are kept whole: their cells' lines do not line up across the row. The number of
// segments block starts: one per line, one for the first block of a row, none for other cells.
int segmentsStarted(const QTextBlock& block)
{
    const QTextTable* table = QTextCursor(block).currentTable();
    if (!table)
        return std::max(block.layout()->lineCount(), 1);
    const QTextTableCell cell = table->cellAt(block.position());
    return cell.column() == 0 && cell.firstPosition() == block.position() ? 1 : 0;
}

void addMarks(const QTextBlock& block, const std::map<int, std::unique_ptr<QTextDocument>>& notes,
              QList<Segment>& segments, qsizetype firstLine)
{
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const int note = fragments.fragment().charFormat().intProperty(PageFurniture::NoteMark);
        if (note == 0 || !notes.count(note))
            continue;
        const int line =
            block.layout()
                ->lineForTextPosition(fragments.fragment().position() - block.position())
                .lineNumber();
        const qsizetype at =
            std::clamp<qsizetype>(firstLine + std::max(line, 0), 0, segments.size() - 1);
        segments[at].notes.append(note);
    }
}

// The space a paragraph asks for above it goes with it, so a paragraph that starts a page after a
// page break keeps it, as a word processor keeps it, and a page never ends with space it had no
// room for. The spacing below a paragraph's last line stays with that line.
QList<Segment> segmentsOf(const QTextDocument& body,
                          const std::map<int, std::unique_ptr<QTextDocument>>& notes)
{
    QList<Segment> segments;
    std::optional<qreal> previousBottom;
    for (QTextBlock block = body.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const QRectF rect = body.documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        bool breakBefore = PrintedPages::startsPage(block);
        const qsizetype firstLine = segments.size();
        const int started = segments.isEmpty() ? 1 : segmentsStarted(block);
        const bool inTable = QTextCursor(block).currentTable() != nullptr;
        const qreal blockTop =
            inTable ? rect.top()
                    : std::max(previousBottom.value_or(0), rect.top() - format.topMargin());
        previousBottom = inTable ? std::nullopt : std::optional<qreal>(rect.bottom());
        for (int line = 0; line < started; ++line) {
            // A line set taller than its text has the room above the text; a page that ends
            // with it needs no more than the text's bottom.
            const qreal lead = layout->lineAt(0).y();
            const qreal top = line == 0 ? blockTop : rect.top() + layout->lineAt(line).y() - lead;
            segments.append({top,
                             std::exchange(breakBefore, false),
                             line == 0 ? -1 : block.blockNumber(),
                             block.length() <= 1,
                             {}});
        }
        addMarks(block, notes, segments, std::min(firstLine, segments.size() - 1));
    }
    return segments;
}

// The page numbers of a header or footer, each selected.
QList<QTextCursor> pageNumbers(QTextDocument& story)
{
    QList<QTextCursor> numbers;
    for (QTextBlock block = story.begin(); block.isValid(); block = block.next())
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments)
            if (fragments.fragment().charFormat().boolProperty(PageFurniture::PageNumber)) {
                QTextCursor cursor(&story);
                cursor.setPosition(fragments.fragment().position());
                cursor.setPosition(fragments.fragment().position() + fragments.fragment().length(),
                                   QTextCursor::KeepAnchor);
                numbers.append(cursor);
            }
    return numbers;
}

// Qt rounds a line's ascent and descent up to whole layout pixels and leaves out the font's
// leading, where word processors space lines by the font's own line spacing: a double-spaced
// manuscript came out a page in six longer. A paragraph spaced wider than single, holding only
// text, gets its lines at the font's spacing; single lines keep Qt's own, which is no tighter.
void spaceLinesAsPrinted(const QTextBlock& block, const QPaintDevice& device)
{
    const QTextBlockFormat format = block.blockFormat();
    if (format.lineHeightType() != QTextBlockFormat::ProportionalHeight ||
        format.lineHeight() <= 100)
        return;
    const QFont base = block.document()->defaultFont();
    qreal spacing = QFontMetricsF(block.charFormat().font().resolve(base), &device).lineSpacing();
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextCharFormat chars = fragments.fragment().charFormat();
        if (chars.isImageFormat() || chars.objectType() != QTextFormat::NoObject)
            return;
        spacing =
            std::max(spacing, QFontMetricsF(chars.font().resolve(base), &device).lineSpacing());
    }
    QTextBlockFormat spaced;
    spaced.setLineHeight(spacing * format.lineHeight() / 100, QTextBlockFormat::FixedHeight);
    QTextCursor(block).mergeBlockFormat(spaced);
}

// Qt would print its own numbers where ListMarkerPainter prints those of a list that starts
// elsewhere than 1, and leave them in the printout's text: such items print none of Qt's.
void leaveNumbersToPainter(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list || !ListMarker::differsFromQt(list->format()))
        return;
    QTextBlockFormat format = block.blockFormat();
    format.setProperty(QTextFormat::ListStyle, QTextListFormat::ListStyleUndefined);
    QTextCursor(block).setBlockFormat(format);
}

} // namespace

bool PrintedPages::startsPage(const QTextBlock& block)
{
    const QTextBlock previous = block.previous();
    return (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ||
           (previous.isValid() &&
            (previous.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter));
}

PrintedPages::LayoutDevice::LayoutDevice() : QImage(1, 1, QImage::Format_ARGB32)
{
    const int dotsPerMeter = qRound(Twips::pixelsPerInch / 0.0254);
    setDotsPerMeterX(dotsPerMeter);
    setDotsPerMeterY(dotsPerMeter);
}

PrintedPages::PrintedPages(const QTextDocument& document)
    : m_setup(PageSetup::of(document)), m_furniture(PageFurniture::of(document))
{
    m_body.reset(document.clone());
    ParagraphPieces::join(*m_body);
    takeOutFootnotes();
    m_body = laidOut(std::move(m_body));
    for (auto& [number, note] : m_notes)
        note = laidOut(std::move(note));
    for (size_t story = 0; story < m_stories.size(); ++story) {
        if (m_furniture.stories[story].isEmpty())
            continue;
        m_stories[story] = std::make_unique<QTextDocument>();
        m_stories[story]->setDefaultFont(document.defaultFont());
        RtfReader().read(m_furniture.stories[story], m_stories[story].get());
        m_numbersPages |= !pageNumbers(*m_stories[story]).isEmpty();
    }
    paginate();
}

PrintedPages::~PrintedPages() = default;

QSizeF PrintedPages::paperSize() const
{
    return QSizeF(m_setup.paperWidth, m_setup.paperHeight) / Twips::perPixel;
}

QSizeF PrintedPages::textSize() const
{
    return QSizeF(m_setup.paperWidth - m_setup.marginLeft - m_setup.marginRight,
                  m_setup.paperHeight - m_setup.marginTop - m_setup.marginBottom) /
           Twips::perPixel;
}

qreal PrintedPages::notesHeight(const Page& page) const
{
    qreal height = 0;
    for (const int note : page.notes)
        height += m_notes.at(note)->size().height();
    return height > 0 ? height + noteGap : 0;
}

// Qt draws a list's marker in its paragraph mark's font, which a paragraph read from a file
// seldom sets: the marker takes the size of the paragraph's first text instead.
std::unique_ptr<QTextDocument> PrintedPages::laidOut(std::unique_ptr<QTextDocument> document)
{
    document->documentLayout()->setPaintDevice(&m_device);
    document->setDocumentMargin(0);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        spaceLinesAsPrinted(block, m_device);
        leaveNumbersToPainter(block);
        if (!block.textList() || block.charFormat().hasProperty(QTextFormat::FontPointSize) ||
            block.begin().atEnd())
            continue;
        QTextCharFormat mark = block.charFormat();
        mark.merge(block.begin().fragment().charFormat());
        QTextCursor(block).setBlockCharFormat(mark);
    }
    document->setTextWidth(textSize().width());
    return document;
}

// Footnotes go to the foot of their pages; endnotes, and notes whose marks are gone, stay at
// the end under their heading.
void PrintedPages::takeOutFootnotes()
{
    std::map<int, std::pair<int, int>> spans;
    QSet<int> marked;
    int keptNotes = 0;
    QTextBlock heading;
    for (QTextBlock block = m_body->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const int note = format.intProperty(PageFurniture::NoteBody);
        if (format.hasProperty(PageFurniture::NotesHeading))
            heading = block;
        else if (note != 0 && format.boolProperty(PageFurniture::Endnote))
            ++keptNotes;
        else if (note != 0 && !spans.count(note))
            spans[note] = {block.position(), block.position() + block.length() - 1};
        else if (note != 0)
            spans[note].second = block.position() + block.length() - 1;
        for (auto fragments = block.begin(); note == 0 && !fragments.atEnd(); ++fragments)
            marked.insert(fragments.fragment().charFormat().intProperty(PageFurniture::NoteMark));
    }
    QList<std::pair<int, int>> removed;
    for (const auto& [note, span] : spans) {
        if (!marked.contains(note)) {
            ++keptNotes;
            continue;
        }
        QTextCursor cursor(m_body.get());
        cursor.setPosition(span.first);
        cursor.setPosition(span.second, QTextCursor::KeepAnchor);
        m_notes[note] = std::make_unique<QTextDocument>();
        m_notes[note]->setDefaultFont(m_body->defaultFont());
        QTextCursor(m_notes[note].get()).insertFragment(cursor.selection());
        removed.append({std::max(span.first - 1, 0), span.second});
    }
    if (heading.isValid() && keptNotes == 0)
        removed.append(
            {std::max(heading.position() - 1, 0), heading.position() + heading.length() - 1});
    std::sort(removed.begin(), removed.end(), std::greater<>());
    for (const auto& [from, to] : removed) {
        QTextCursor cursor(m_body.get());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void PrintedPages::paginate()
{
    const QList<Segment> segments = segmentsOf(*m_body, m_notes);
    const qreal height = textSize().height();
    const qreal end = m_body->documentLayout()->documentSize().height();
    Page page;
    page.top = segments.isEmpty() ? 0 : segments.first().top;
    bool empty = true;
    for (qsizetype index = 0; index < segments.size(); ++index) {
        const Segment& segment = segments[index];
        const qreal bottom = index + 1 < segments.size() ? segments[index + 1].top : end;
        Page grown = page;
        grown.notes.append(segment.notes);
        // An empty paragraph before a page break, where the break was typed, makes no page
        // of its own.
        const bool lastOnPage = index + 1 == segments.size() || segments[index + 1].breakBefore;
        const bool overfull =
            bottom - page.top + notesHeight(grown) > height && !(segment.blank && lastOnPage);
        if (!empty && (segment.breakBefore || overfull)) {
            page.bottom = segment.top;
            m_pages.append(
                std::exchange(page, Page{segment.top, 0, segment.notes, segment.continuedBlock}));
        } else {
            page = std::move(grown);
        }
        empty = false;
    }
    page.bottom = end;
    m_pages.append(page);
}

std::unique_ptr<QTextDocument> PrintedPages::story(bool header, int page) const
{
    const PageFurniture::Story kind = m_furniture.storyFor(header, page);
    if (kind == PageFurniture::StoryCount)
        return nullptr;
    std::unique_ptr<QTextDocument> story(m_stories[size_t(kind)]->clone());
    // Cursors keep their places while the text before them changes.
    for (QTextCursor& cursor : pageNumbers(*story))
        cursor.insertText(QString::number(page), cursor.charFormat());
    story->documentLayout()->setPaintDevice(&m_device);
    story->setDocumentMargin(0);
    story->setTextWidth(textSize().width());
    return story;
}
