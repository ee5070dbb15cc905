#include "platform/RichTextBox.h"

#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/base/ParagraphPieces.h"
#include "formats/base/TextProperties.h"
#include "platform/DocumentPrinter.h"
#include "platform/FileArguments.h"
#include "platform/LineBreakRuns.h"
#include "platform/ListMarkerPainter.h"
#include "platform/PlaceRestorer.h"
#include "platform/PrintedPages.h"
#include "platform/TextBoundary.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>

namespace {

// Thick enough that the text under it reads as set aside, thin enough that it still reads.
constexpr int veilAlpha = 150;

QByteArray rtfBytes(const QString& rtf)
{
    // RTF is 7-bit text; anything wider came from outside and keeps its characters as UTF-8.
    for (QChar c : rtf)
        if (c.unicode() > 0xff)
            return rtf.toUtf8();
    return rtf.toLatin1();
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QString normalisedLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setFont(BlankDocument::defaultFont());
    m_placeRestorer = new PlaceRestorer(
        *this, [this](const TextPlace& place) { setPlace(place); }, this);
    showDocument(BlankDocument::createNew());
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::SelChange);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::SelChange);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { extendScrollRange(maximum); });
}

QString RichTextBox::Text() const
{
    if (m_plainRevision != m_contentRevision) {
        m_plainText = document()->toPlainText();
        if (ParagraphPieces::anyIn(*document()))
            ParagraphPieces::restoreJoints(*document(), 0, m_plainText);
        m_plainRevision = m_contentRevision;
    }
    return m_plainText;
}

QString RichTextBox::TextRTF() const
{
    return QString::fromLatin1(rtfData());
}

QByteArray RichTextBox::rtfData() const
{
    return DocumentFormats::rtf().write(*document(), {});
}

// Reading into the shown document makes the editor relayout as every block arrives; a detached
// document is read several times faster and then laid out once when it takes the old one's place.
void RichTextBox::setTextRTF(const QString& rtf)
{
    DocumentFormats::Read read;
    if (DocumentFormats::isRtf(rtf))
        read = DocumentFormats::rtf().read(rtfBytes(rtf), {});
    if (rtf.isEmpty()) {
        read.document.reset(BlankDocument::createNew());
    } else if (!read.document) {
        read.document.reset(BlankDocument::create());
        read.document->setPlainText(DocumentFormats::isRtf(rtf) ? rtf : normalisedLineBreaks(rtf));
    }
    showDocument(read.document.release());
}

void RichTextBox::setTextRTFInPlace(const QString& rtf)
{
    keepingPlace([&] { setTextRTF(rtf); });
}

void RichTextBox::keepingPlace(const std::function<void()>& change)
{
    TextPlace place = this->place();
    change();
    place.anchor = place.caret;
    setPlace(place);
}

TextPlace RichTextBox::place() const
{
    const QTextCursor c = textCursor();
    return {c.anchor(), c.position(), horizontalScrollBar()->value(), verticalScrollBar()->value(),
            cursorForPosition(viewport()->rect().bottomRight()).position()};
}

void RichTextBox::restorePlace(const TextPlace& place)
{
    m_placeRestorer->restore(place);
}

void RichTextBox::setPlace(const TextPlace& place)
{
    const qint64 end = document()->characterCount() - 1;
    const auto at = [&](qint64 position) {
        return int(boundaryNear(qBound<qint64>(0, position, end)));
    };
    QTextCursor c = textCursor();
    c.setPosition(at(place.anchor));
    c.setPosition(at(place.caret), QTextCursor::KeepAnchor);
    setTextCursor(c);
    // The layout runs ahead of the view only so far; what was shown must be laid out before
    // the scroll bars can go back to it.
    const QTextBlock last = document()->findBlock(int(place.shownEnd));
    document()->documentLayout()->blockBoundingRect(last.isValid() ? last
                                                                   : document()->lastBlock());
    horizontalScrollBar()->setValue(place.left);
    verticalScrollBar()->setValue(place.top);
}

int RichTextBox::historyStep() const
{
    return document()->availableUndoSteps();
}

// Typing merges into the last step of the history until the document counts as unmodified.
void RichTextBox::sealHistory()
{
    document()->setModified(false);
}

// Qt counts the steps that can be redone as none once one was undone, so the walk forward goes
// until the history stops moving rather than by that count.
bool RichTextBox::moveInHistory(int step)
{
    QTextDocument* doc = document();
    if (step < 0)
        return false;
    keepingPlace([&] {
        for (int at = doc->availableUndoSteps(); at > step; --at)
            doc->undo();
        for (int at = doc->availableUndoSteps(); at < step;) {
            doc->redo();
            const int moved = doc->availableUndoSteps();
            if (moved == at)
                break;
            at = moved;
        }
    });
    return doc->availableUndoSteps() == step;
}

void RichTextBox::showDocument(QTextDocument* shown)
{
    m_placeRestorer->cancel();
    QTextDocument* old = document();
    // The first document belongs to QTextEdit, and one kept aside has been given a parent.
    const bool ownOld = old->parent() == this;
    // The editor carries its typing format over into a new document; it must be the format at
    // the caret there, not whatever the caret last had in the old one.
    QTextCursor caret = textCursor();
    caret.clearSelection();
    caret.setCharFormat(QTextCursor(shown).charFormat());
    setTextCursor(caret);
    shown->setParent(this);
    // Its history lets Undo go back without reading the document again; filling it, and
    // cutting its long paragraphs into pieces, was no step.
    if (!shown->isUndoAvailable() && !shown->isRedoAvailable()) {
        const bool modified = shown->isModified();
        shown->setUndoRedoEnabled(false);
        ParagraphPieces::split(*shown, 0, shown->characterCount());
        shown->setModified(modified);
    }
    shown->setUndoRedoEnabled(true);
    disconnect(old, &QTextDocument::contentsChange, this, nullptr);
    connect(shown, &QTextDocument::contentsChange, this, &RichTextBox::document_Change);
    keepLongLayouts(shown->firstBlock(), shown->lastBlock());
    setWrappedDocument(shown);
    ++m_contentRevision;
    if (ownOld)
        delete old;
}

// The document tells what changed before its layout hears of it, so the wrap is right before
// the changed text is laid out.
void RichTextBox::document_Change(int from, int removed, int added)
{
    ++m_contentRevision;
    const bool anywhere = wordWrapMode() == QTextOption::WrapAnywhere;
    if (!anywhere && LineBreakRuns::holdsLongRun(*document(), from, from + added))
        setWordWrapMode(QTextOption::WrapAnywhere);
    // Only taking text away can take the last such run away.
    else if (anywhere && removed > 0 && !LineBreakRuns::holdsLongRun(*document()))
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    keepLongLayouts(document()->findBlock(from), document()->findBlock(from + added));
}

// Qt shapes a paragraph's text again each time it draws it, unless its layout is kept: a blink
// of the caret in a paragraph of a megabyte took a tenth of a second and more. Only long ones
// are kept, as the shapes take room.
void RichTextBox::keepLongLayouts(QTextBlock block, const QTextBlock& last)
{
    constexpr int longParagraph = 10000;
    for (; block.isValid(); block = block.next()) {
        if (block.length() >= longParagraph)
            block.layout()->setCacheEnabled(true);
        if (block == last)
            break;
    }
}

// Changing the wrap lays out the document shown again, which is worth nothing when another takes
// its place, and may take minutes when it holds a long run: an empty one stands in meanwhile.
void RichTextBox::setWrappedDocument(QTextDocument* shown)
{
    const QTextOption::WrapMode wrap = LineBreakRuns::holdsLongRun(*shown)
                                           ? QTextOption::WrapAnywhere
                                           : QTextOption::WrapAtWordBoundaryOrAnywhere;
    QTextDocument standIn;
    if (wrap != wordWrapMode()) {
        setDocument(&standIn);
        setWordWrapMode(wrap);
    }
    setDocument(shown);
}

qint64 RichTextBox::SelStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(qint64 position)
{
    selectRange(position, 0);
}

qint64 RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::setSelLength(qint64 length)
{
    selectRange(SelStart(), length);
}

QString RichTextBox::SelText() const
{
    const QTextCursor c = textCursor();
    QString text = c.selectedText();
    ParagraphPieces::restoreJoints(*document(), c.selectionStart(), text);
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void RichTextBox::setSelText(const QString& text)
{
    QTextCursor c = textCursor();
    c.beginEditBlock();
    const int from = c.selectionStart();
    c.insertText(normalisedLineBreaks(text), ownFormat(c));
    shapeInserted(from, c.position());
    c.endEditBlock();
}

// Breaks inserted into a piece of a long paragraph are the writer's own, and what went in may
// make a paragraph long: both are put right within the edit that inserted them.
void RichTextBox::shapeInserted(int from, int to)
{
    QTextCursor end(document());
    end.setPosition(qBound(0, to, document()->characterCount() - 1));
    ParagraphPieces::startParagraphs(end, from);
    ParagraphPieces::split(*document(), from, end.position());
}

QTextCharFormat RichTextBox::ownFormat(const QTextCursor& c) const
{
    QTextCharFormat format = c.charFormat();
    // As QTextCursor::insertText(text) does: text is no object.
    format.clearProperty(QTextFormat::ObjectType);
    for (const int property : m_uninherited)
        format.clearProperty(property);
    return format;
}

QString RichTextBox::SelRTF() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return QString();
    return QString::fromLatin1(DocumentFormats::rtf().write(*selectionDocument(), {}));
}

std::unique_ptr<QTextDocument> RichTextBox::selectionDocument() const
{
    auto selection = std::make_unique<QTextDocument>();
    selection->setDefaultFont(document()->defaultFont());
    // The root frame carries the page and its headers and footers.
    selection->rootFrame()->setFrameFormat(document()->rootFrame()->frameFormat());
    QTextCursor(selection.get()).insertFragment(textCursor().selection());
    return selection;
}

QStringList RichTextBox::setSelRTF(const QString& text, const QTextCharFormat& plainMarks)
{
    QTextCursor c = textCursor();
    c.beginEditBlock();
    const int from = c.selectionStart();
    QStringList losses;
    DocumentFormats::Read read;
    if (DocumentFormats::isRtf(text))
        read = DocumentFormats::rtf().read(rtfBytes(text), {});
    if (read.document) {
        copyImages(*read.document, *document());
        c.insertFragment(QTextDocumentFragment(read.document.get()));
        losses = read.losses;
    } else {
        QTextCharFormat format = ownFormat(c);
        format.merge(plainMarks);
        c.insertText(normalisedLineBreaks(text), format);
    }
    shapeInserted(from, c.position());
    c.endEditBlock();
    setTextCursor(c);
    return losses;
}

// A fragment carries a picture's name only: its data must move into the target document too.
void RichTextBox::copyImages(const QTextDocument& source, QTextDocument& target)
{
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            target.addResource(QTextDocument::ImageResource, name,
                               source.resource(QTextDocument::ImageResource, name));
        }
}

void RichTextBox::mergeSelFormat(const QTextCharFormat& format)
{
    mergeCurrentCharFormat(format);
}

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelFormat(f);
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSelFormat(f);
}

void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeSelFormat(f);
}

void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeSelFormat(f);
}

void RichTextBox::setSelColor(const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    mergeSelFormat(f);
}

void RichTextBox::setSelFontName(const QString& family)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    mergeSelFormat(f);
}

void RichTextBox::setSelFontSize(float points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeSelFormat(f);
}

void RichTextBox::setSelBullet(bool on)
{
    QTextCursor c = ParagraphPieces::wholeParagraphs(textCursor());
    c.beginEditBlock();
    if (on) {
        // Each block of a list is an item: a list item is never held in pieces.
        ParagraphPieces::join(*document(), c.selectionStart(), c.selectionEnd());
        QTextList* list = c.currentList();
        if (!list || list->format().style() != QTextListFormat::ListDisc)
            c.createList(QTextListFormat::ListDisc);
    } else {
        QTextBlock block = document()->findBlock(c.selectionStart());
        const QTextBlock last = document()->findBlock(c.selectionEnd());
        for (;; block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextBlockFormat plain = block.blockFormat();
                plain.setIndent(0);
                QTextCursor(block).setBlockFormat(plain);
            }
            if (block == last || !block.isValid())
                break;
        }
    }
    c.endEditBlock();
}

void RichTextBox::setSelLineSpacing(int percent)
{
    QTextBlockFormat format;
    // Single spacing is a paragraph's own, written as no spacing at all.
    if (percent == 100)
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
    else
        format.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
    ParagraphPieces::wholeParagraphs(textCursor()).mergeBlockFormat(format);
}

int RichTextBox::SelLineSpacing() const
{
    const QTextBlockFormat format = textCursor().blockFormat();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::SingleHeight:
        return 100;
    case QTextBlockFormat::ProportionalHeight:
        return qRound(format.lineHeight());
    default:
        return 0;
    }
}

void RichTextBox::insertPageBreak()
{
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    QTextBlockFormat format = c.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    // A page starts a paragraph, whatever piece of one the caret was in.
    format.clearProperty(TextProperties::ParagraphJoint);
    c.insertBlock(format);
    c.endEditBlock();
    setTextCursor(c);
}

// A new paragraph takes its formatting from the one it was split from; the page break stays
// with the paragraph before, or every paragraph typed after a chapter's first would start a page.
void RichTextBox::leaveParagraphBehind(int from)
{
    QTextCursor c = textCursor();
    const auto breaks = [](const QTextBlock& block) {
        return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    };
    c.joinPreviousEditBlock();
    if (breaks(c.block()) && breaks(c.block().previous())) {
        QTextBlockFormat format = c.blockFormat();
        format.clearProperty(QTextFormat::PageBreakPolicy);
        c.setBlockFormat(format);
    }
    ParagraphPieces::startParagraphs(c, from);
    c.endEditBlock();
}

// Positions given by number land on the nearest character boundary, so nothing ever goes
// between the halves of a surrogate pair or between a letter and its combining mark.
void RichTextBox::selectRange(qint64 start, qint64 length)
{
    const qint64 end = document()->characterCount() - 1;
    start = boundaryNear(qBound<qint64>(0, start, end));
    QTextCursor c = textCursor();
    c.setPosition(int(start));
    c.setPosition(int(qMax(start, boundaryNear(qBound<qint64>(start, start + length, end)))),
                  QTextCursor::KeepAnchor);
    setTextCursor(c);
}

qint64 RichTextBox::boundaryNear(qint64 position) const
{
    const QTextBlock block = document()->findBlock(int(position));
    return block.position() + TextBoundary::nearest(block.text(), position - block.position());
}

qint64 RichTextBox::Find(const QString& text, qint64 start, qint64 end, int options)
{
    if (text.isEmpty())
        return -1;
    const QString haystack = Text();
    end = qMin<qint64>(end, haystack.size());
    const Qt::CaseSensitivity cs =
        (options & rtfMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qint64 at = haystack.indexOf(text, qMax<qint64>(start, 0), cs);
         at >= 0 && at + text.size() <= end; at = haystack.indexOf(text, at + 1, cs)) {
        const qint64 after = at + text.size();
        if ((options & rtfWholeWord) && ((at > 0 && isWordChar(haystack[at - 1])) ||
                                         (after < haystack.size() && isWordChar(haystack[after]))))
            continue;
        selectRange(at, text.size());
        return at;
    }
    return -1;
}

qint64 RichTextBox::GetLineFromChar(qint64 position) const
{
    const qint64 end = document()->characterCount() - 1;
    return ParagraphPieces::paragraphNumber(
        document()->findBlock(int(qBound<qint64>(0, position, end))));
}

qint64 RichTextBox::positionOfLine(qint64 line) const
{
    if (line < 0 || line >= document()->blockCount())
        return -1;
    const QTextBlock start = ParagraphPieces::paragraphStart(*document(), int(line));
    return start.isValid() ? start.position() : -1;
}

// The printer says what the user chose in the print dialog: the selection, or pages.
void RichTextBox::SelPrint(QPrinter* printer) const
{
    if (!printer)
        return;
    const QTextCursor c = textCursor();
    if (!c.hasSelection() || printer->printRange() != QPrinter::Selection) {
        DocumentPrinter::print(*document(), printer);
        return;
    }
    const std::unique_ptr<QTextDocument> selection = selectionDocument();
    copyImages(*document(), *selection);
    DocumentPrinter::print(*selection, printer);
}

void RichTextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

bool RichTextBox::ownedByMenu(const QKeySequence& keys) const
{
    const QList<QAction*> actions = window()->findChildren<QAction*>();
    for (const QAction* action : actions)
        if (action->isEnabled() && action->shortcuts().contains(keys))
            return true;
    return false;
}

bool RichTextBox::event(QEvent* e)
{
    // The menu's keys belong to the menu: refusing the override lets the shortcut fire
    // instead of QTextEdit's built-in copy, paste or delete. A disabled entry leaves the key here.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (ownedByMenu(QKeySequence(key->keyCombination()))) {
            e->ignore();
            return true;
        }
    }
    return QTextEdit::event(e);
}

// Undo is the one step of the Edit menu: the document's own history is not the user's to walk.
void RichTextBox::keyPressEvent(QKeyEvent* e)
{
    m_placeRestorer->cancel();
    emit KeyDown(e->key(), e->modifiers());
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        e->accept();
        return;
    }
    prepareTyping(e);
    const int blocks = document()->blockCount();
    const int from = textCursor().selectionStart();
    QTextEdit::keyPressEvent(e);
    if (document()->blockCount() > blocks)
        leaveParagraphBehind(from);
}

// The editor types with the format of the character before the caret, or, over a selection,
// of its last character: that format is set without the uninherited properties first. Over a
// selection the format can only be set once the selection is gone.
void RichTextBox::prepareTyping(const QKeyEvent* e)
{
    const QString text = e->text();
    const bool types = !text.isEmpty() && (text.front().isPrint() || text.front() == u'\t' ||
                                           e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter);
    if (types)
        prepareOwnText();
}

void RichTextBox::prepareOwnText()
{
    if (m_uninherited.isEmpty())
        return;
    QTextCursor c = textCursor();
    const QTextCharFormat typing = c.charFormat();
    if (std::none_of(m_uninherited.cbegin(), m_uninherited.cend(),
                     [&typing](int property) { return typing.hasProperty(property); }))
        return;
    c.removeSelectedText();
    c.setCharFormat(ownFormat(c));
    setTextCursor(c);
}

void RichTextBox::paintEvent(QPaintEvent* e)
{
    QTextEdit::paintEvent(e);
    drawListStarts();
    drawTint();
    drawPageBreaks();
    drawVeil();
}

void RichTextBox::setLitRange(qint64 from, qint64 to)
{
    if (from == m_litFrom && to == m_litTo)
        return;
    m_litFrom = from;
    m_litTo = to;
    viewport()->update();
}

// Everything in view but the lines of the lit range, or on its first and last lines the part
// of them it holds, under a film of the page colour.
void RichTextBox::drawVeil()
{
    if (m_litFrom < 0)
        return;
    const QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const int from = int(m_litFrom);
    const int to = int(m_litTo);
    QRegion lit;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const QPointF top = layout->blockBoundingRect(block).translated(offset).topLeft();
        if (top.y() > viewport()->height())
            break;
        const QTextLayout* lines = block.layout();
        for (int index = 0; index < lines->lineCount(); ++index) {
            const QTextLine line = lines->lineAt(index);
            const int start = block.position() + line.textStart();
            const int end = start + line.textLength();
            if (end < from || start > to)
                continue;
            const qreal left = start >= from ? -top.x() : line.cursorToX(from - block.position());
            const qreal right =
                end <= to ? viewport()->width() - top.x() : line.cursorToX(to - block.position());
            lit +=
                QRectF(left, line.y(), right - left, line.height()).translated(top).toAlignedRect();
        }
    }
    QColor veil = palette().color(QPalette::Base);
    veil.setAlpha(veilAlpha);
    QPainter painter(viewport());
    painter.setClipRegion(QRegion(viewport()->rect()) - lit);
    painter.fillRect(viewport()->rect(), veil);
}

void RichTextBox::setOverscroll(int pixels)
{
    QScrollBar* bar = verticalScrollBar();
    const int natural =
        bar->maximum() == m_extendedMaximum ? bar->maximum() - m_overscroll : bar->maximum();
    m_overscroll = pixels;
    m_extendedMaximum = -1;
    bar->setMaximum(natural);
    extendScrollRange(natural);
}

// The editor sets the range from the text's height whenever it changes; the room goes on top.
void RichTextBox::extendScrollRange(int maximum)
{
    if (maximum == m_extendedMaximum || m_overscroll <= 0)
        return;
    m_extendedMaximum = maximum + m_overscroll;
    verticalScrollBar()->setMaximum(m_extendedMaximum);
}

void RichTextBox::setPropertyTint(int property, const QColor& color)
{
    m_tintProperty = property;
    m_tint = color;
    viewport()->update();
}

// Over the text of the paragraphs in view, line by line, so a run that wraps is tinted where
// it stands on each line.
void RichTextBox::drawTint()
{
    if (!m_tint.isValid())
        return;
    const QAbstractTextDocumentLayout* layout = document()->documentLayout();
    QPainter painter(viewport());
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    for (QTextBlock block = cursorForPosition(QPoint(0, 0)).block(); block.isValid();
         block = block.next()) {
        const QRectF shown = layout->blockBoundingRect(block).translated(offset);
        if (shown.top() > viewport()->height())
            break;
        const QTextLayout* lines = block.layout();
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
            const QTextFragment fragment = fragments.fragment();
            if (!fragment.charFormat().hasProperty(m_tintProperty))
                continue;
            const int from = fragment.position() - block.position();
            const int to = from + fragment.length();
            for (int index = 0; index < lines->lineCount(); ++index) {
                const QTextLine line = lines->lineAt(index);
                const int start = qMax(from, line.textStart());
                const int end = qMin(to, line.textStart() + line.textLength());
                if (start >= end)
                    continue;
                const qreal left = line.cursorToX(start);
                const qreal right = line.cursorToX(end);
                painter.fillRect(
                    QRectF(qMin(left, right), line.y(), qAbs(right - left), line.height())
                        .translated(shown.topLeft()),
                    m_tint);
            }
        }
    }
}

// Drawn over the text, never part of it: a thin dashed line across the page above each
// paragraph that starts a new page.
void RichTextBox::drawListStarts()
{
    QPainter painter(viewport());
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scrolled);
    ListMarkerPainter::paint(painter, *document(), QRectF(scrolled, viewport()->size()),
                             viewport()->palette().base(), viewport()->palette().text());
}

void RichTextBox::drawPageBreaks()
{
    const QAbstractTextDocumentLayout* layout = document()->documentLayout();
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const qreal right = offset.x() + document()->size().width();
    for (QTextBlock block = cursorForPosition(QPoint(0, 0)).block(); block.isValid();
         block = block.next()) {
        const QRectF shown = layout->blockBoundingRect(block).translated(offset);
        if (shown.top() > viewport()->height())
            break;
        if (PrintedPages::startsPage(block))
            painter.drawLine(QPointF(offset.x(), shown.top()), QPointF(right, shown.top()));
    }
}

void RichTextBox::keyReleaseEvent(QKeyEvent* e)
{
    QTextEdit::keyReleaseEvent(e);
    // A held key repeats press and release; only the final release counts.
    if (!e->isAutoRepeat())
        emit KeyUp(e->key(), e->modifiers());
}

void RichTextBox::mousePressEvent(QMouseEvent* e)
{
    m_placeRestorer->cancel();
    emit MouseDown(e->button());
    QTextEdit::mousePressEvent(e);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* e)
{
    if (m_contextActions.isEmpty()) {
        QTextEdit::contextMenuEvent(e);
        return;
    }
    QMenu menu(this);
    for (QAction* action : std::as_const(m_contextActions))
        menu.addAction(action);
    emit ContextMenu(&menu, e->reason() == QContextMenuEvent::Mouse
                                ? cursorForPosition(e->pos()).position()
                                : textCursor().position());
    menu.exec(e->globalPos());
}

// A file manager offers a dropped file's URL as text too; the file is what the writer means.
bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return !FileArguments::fromUrls(source->urls()).isEmpty() ||
           QTextEdit::canInsertFromMimeData(source);
}

// A drop inserts its text inside an edit of its own, which tells of the change only once it
// ends, after the insertion.
void RichTextBox::dropEvent(QDropEvent* e)
{
    emit ForeignTextStarts();
    QTextEdit::dropEvent(e);
    emit ForeignTextEnds();
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (const QStringList files = FileArguments::fromUrls(source->urls()); !files.isEmpty()) {
        emit FilesDropped(files);
        return;
    }
    prepareOwnText();
    emit ForeignTextStarts();
    QTextCursor c = textCursor();
    c.beginEditBlock();
    const int from = c.selectionStart();
    QTextEdit::insertFromMimeData(source);
    shapeInserted(from, textCursor().position());
    c.endEditBlock();
    emit ForeignTextEnds();
}

// Dragged text goes out as the clipboard's does: a paragraph in pieces as one.
QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    const std::unique_ptr<QTextDocument> selection = selectionDocument();
    ParagraphPieces::join(*selection);
    auto* data = new QMimeData;
    data->setHtml(selection->toHtml());
    data->setText(selection->toPlainText());
    return data;
}
