#include "editing/FocusMode.h"

#include "formats/base/ParagraphPieces.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QEvent>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace {

struct Range
{
    qint64 from;
    qint64 to;
};

Range sentenceAt(const QTextBlock& block, int offset)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, block.text());
    finder.setPosition(offset);
    const qsizetype start = finder.isAtBoundary() ? offset : finder.toPreviousBoundary();
    finder.setPosition(offset);
    qsizetype end = finder.toNextBoundary();
    if (end < 0)
        end = block.length() - 1;
    // At a sentence's end, before the space that follows it, the caret is in that sentence.
    if (start == offset && offset > 0 && block.text().at(offset - 1) != u' ')
        return sentenceAt(block, offset - 1);
    return {block.position() + qMax<qsizetype>(start, 0), block.position() + end};
}

// The caret's line with the one above and the one below, across paragraphs.
Range threeLinesAt(const QTextBlock& block, int offset)
{
    const QTextLayout* layout = block.layout();
    const QTextLine caretLine = layout->lineForTextPosition(offset);
    const int index = caretLine.isValid() ? caretLine.lineNumber() : -1;
    if (index < 0)
        return {block.position(), block.position() + block.length() - 1};
    qint64 from = block.position() + layout->lineAt(index).textStart();
    if (index > 0)
        from = block.position() + layout->lineAt(index - 1).textStart();
    else if (const QTextBlock above = block.previous(); above.isValid()) {
        const QTextLayout* lines = above.layout();
        from = above.position() +
               (lines->lineCount() ? lines->lineAt(lines->lineCount() - 1).textStart() : 0);
    }
    const QTextLine line = layout->lineAt(qMin(index + 1, layout->lineCount() - 1));
    qint64 to = block.position() + line.textStart() + line.textLength();
    if (index + 1 >= layout->lineCount())
        if (const QTextBlock below = block.next(); below.isValid()) {
            const QTextLayout* lines = below.layout();
            to = below.position() + (lines->lineCount() ? lines->lineAt(0).textLength() : 0);
        }
    return {from, to};
}

} // namespace

FocusMode::FocusMode(RichTextBox& editor, const Entries& entries, QObject* parent)
    : QObject(parent), m_editor(editor), m_entries(entries)
{
    setUnit(Off);
    m_editor.viewport()->installEventFilter(this);
}

bool FocusMode::eventFilter(QObject* watched, QEvent* event)
{
    // Once the editor has laid its text out for the new width.
    if (event->type() == QEvent::Resize && m_unit == ThreeLines)
        QMetaObject::invokeMethod(this, &FocusMode::txtFile_SelChange, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void FocusMode::setUnit(int unit)
{
    m_unit = unit >= Off && unit < UnitCount ? Unit(unit) : Off;
    for (int index = 0; index < UnitCount; ++index)
        m_entries[size_t(index)]->setChecked(index == m_unit);
    txtFile_SelChange();
}

void FocusMode::txtFile_SelChange()
{
    if (m_unit == Off) {
        m_editor.setLitRange(-1, -1);
        return;
    }
    const QTextCursor caret = m_editor.textCursor();
    const QTextBlock block = caret.block();
    const int offset = caret.positionInBlock();
    QTextCursor paragraph = caret;
    paragraph.clearSelection();
    paragraph = ParagraphPieces::wholeParagraphs(paragraph);
    Range lit{paragraph.selectionStart(), paragraph.selectionEnd()};
    if (m_unit == Sentence)
        lit = sentenceAt(block, offset);
    else if (m_unit == ThreeLines)
        lit = threeLinesAt(block, offset);
    m_editor.setLitRange(lit.from, lit.to);
}
