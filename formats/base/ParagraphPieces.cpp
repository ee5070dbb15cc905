#include "formats/base/ParagraphPieces.h"

#include "formats/base/TextProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace ParagraphPieces {

namespace {

// Qt lays out a piece in about a millisecond; a paragraph twice as long is cut.
constexpr int longest = 2 * pieceLength;

bool isSeed(const QTextDocument& document, int position)
{
    QTextCursor c(const_cast<QTextDocument*>(&document));
    c.setPosition(position + 1);
    return c.charFormat().hasProperty(TextProperties::SeedRun);
}

// Where a piece starting at start of text cuts: at a space formatted as the character before
// it, so the space comes back as it was, else between two characters that are no seed words,
// no halves of a pair and no letter and its mark; -1 when there is no such place.
std::pair<int, Joint> cutIn(const QTextDocument& document, int base, QStringView text, int start)
{
    const int latest = start + pieceLength;
    for (int at = latest; at > start + pieceLength / 2; --at) {
        if (text[at] != u' ' || isSeed(document, base + at) || isSeed(document, base + at - 1))
            continue;
        QTextCursor before(const_cast<QTextDocument*>(&document));
        before.setPosition(base + at);
        QTextCursor space = before;
        space.setPosition(base + at + 1);
        if (before.charFormat() == space.charFormat())
            return {at, Joint::Space};
    }
    for (int at = latest; at < start + longest; ++at) {
        const QChar c = text[at];
        if (!c.isLowSurrogate() && !c.isMark() && !text[at - 1].isSpace() && !c.isSpace() &&
            !isSeed(document, base + at) && !isSeed(document, base + at - 1))
            return {at, Joint::Nothing};
    }
    return {-1, Joint::None};
}

QTextBlockFormat withJoint(QTextBlockFormat format, Joint joint)
{
    if (joint == Joint::None) {
        format.clearProperty(TextProperties::ParagraphJoint);
        return format;
    }
    format.setProperty(TextProperties::ParagraphJoint, int(joint));
    // What a paragraph has once, at its start or end, its pieces between have not.
    format.setTextIndent(0);
    format.setTopMargin(0);
    format.setBottomMargin(0);
    format.clearProperty(QTextFormat::PageBreakPolicy);
    return format;
}

// Cuts block into pieces; returns the last and adds the characters added to *added.
QTextBlock cutPieces(QTextCursor& c, const QTextBlock& block, int* added)
{
    const QString text = block.text();
    const QTextBlockFormat whole = block.blockFormat();
    const int base = block.position();
    int shift = 0;
    int start = 0;
    while (text.size() - start > longest) {
        const auto [cut, joint] = cutIn(*c.document(), base + shift, text, start);
        if (cut < 0)
            break;
        c.setPosition(base + shift + cut);
        if (start == 0) {
            QTextBlockFormat first = whole;
            first.setBottomMargin(0);
            c.setBlockFormat(first);
        }
        // Selected by position, not by the next character, which would have Qt analyse the
        // whole paragraph's text again at every cut.
        if (joint == Joint::Space) {
            c.setPosition(c.position() + 1, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        } else
            ++shift;
        c.insertBlock(withJoint(whole, joint));
        start = joint == Joint::Space ? cut + 1 : cut;
    }
    if (start > 0) {
        QTextBlockFormat last;
        last.setBottomMargin(whole.bottomMargin());
        c.mergeBlockFormat(last);
    }
    *added += shift;
    return start > 0 ? c.block() : block;
}

} // namespace

Joint jointBefore(const QTextBlock& block)
{
    return Joint(block.blockFormat().intProperty(TextProperties::ParagraphJoint));
}

// A mark on a block whose block before lies in another cell or frame was copied there with
// its format, by Qt or by a reader: it joins nothing.
bool continues(const QTextBlock& block)
{
    return jointBefore(block) != Joint::None && block.previous().isValid() &&
           block.document()->characterAt(block.position() - 1) == QChar::ParagraphSeparator;
}

QTextBlock firstPiece(QTextBlock block)
{
    while (continues(block))
        block = block.previous();
    return block;
}

QTextBlock lastPiece(QTextBlock block)
{
    while (continues(block.next()))
        block = block.next();
    return block;
}

QTextBlockFormat paragraphFormat(const QTextBlock& first)
{
    const QTextBlock last = lastPiece(first);
    QTextBlockFormat format = first.blockFormat();
    if (last != first)
        format.setBottomMargin(last.blockFormat().bottomMargin());
    return format;
}

// A document keeps each format it ever held: none with a joint means no pieces, at the cost
// of a format a piece left behind meaning some.
bool anyIn(const QTextDocument& document)
{
    const QList<QTextFormat> formats = document.allFormats();
    return std::any_of(formats.cbegin(), formats.cend(), [](const QTextFormat& format) {
        return format.hasProperty(TextProperties::ParagraphJoint);
    });
}

void split(QTextDocument& document, int from, int to)
{
    QTextCursor c(&document);
    c.beginEditBlock();
    int added = 0;
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        if (block.length() > longest && !block.textList())
            block = cutPieces(c, block, &added);
        if (block.position() + block.length() > to + added)
            break;
    }
    c.endEditBlock();
}

void join(QTextDocument& document, int from, int to)
{
    QTextCursor c(&document);
    c.beginEditBlock();
    for (QTextBlock block = firstPiece(document.findBlock(from));
         block.isValid() && block.position() <= to; block = block.next()) {
        for (QTextBlock next = block.next(); next.isValid(); next = block.next()) {
            const Joint joint = jointBefore(next);
            if (joint == Joint::None)
                break;
            if (!continues(next)) {
                QTextCursor(next).setBlockFormat(withJoint(next.blockFormat(), Joint::None));
                break;
            }
            QTextBlockFormat format = block.blockFormat();
            format.setBottomMargin(next.blockFormat().bottomMargin());
            c.setPosition(next.position() - 1);
            c.setPosition(next.position(), QTextCursor::KeepAnchor);
            c.removeSelectedText();
            if (joint == Joint::Space)
                c.insertText(QStringLiteral(" "));
            else
                --to;
            c.setBlockFormat(format);
        }
    }
    c.endEditBlock();
}

// A break typed or pasted into a piece copies its mark and its format between: the new
// paragraphs take the paragraph's own, and the paragraph cut short its space below.
void startParagraphs(QTextCursor& cursor, int from)
{
    QTextBlock first = cursor.document()->findBlock(from);
    const QTextBlock last = cursor.block();
    if (first == last ||
        (jointBefore(first) == Joint::None && jointBefore(first.next()) == Joint::None))
        return;
    const QTextBlock start = firstPiece(first);
    const QTextBlock end = lastPiece(last);
    const qreal bottom = end.blockFormat().bottomMargin();
    QTextBlockFormat paragraph = start.blockFormat();
    paragraph.clearProperty(QTextFormat::PageBreakPolicy);
    QTextBlockFormat ended = first.blockFormat();
    ended.setBottomMargin(bottom);
    QTextCursor(first).setBlockFormat(ended);
    for (QTextBlock block = first.next(); block.isValid(); block = block.next()) {
        if (jointBefore(block) != Joint::None) {
            QTextBlockFormat format = paragraph;
            format.setBottomMargin(block == last && end != last ? 0 : bottom);
            QTextCursor(block).setBlockFormat(format);
        }
        if (block == last)
            break;
    }
}

QTextCursor wholeParagraphs(const QTextCursor& cursor)
{
    QTextCursor whole = cursor;
    const QTextBlock start = firstPiece(cursor.document()->findBlock(cursor.selectionStart()));
    const QTextBlock end = lastPiece(cursor.document()->findBlock(cursor.selectionEnd()));
    whole.setPosition(start.position());
    whole.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
    return whole;
}

void restoreJoints(const QTextDocument& document, int from, QString& text)
{
    const int to = from + int(text.size());
    for (QTextBlock block = document.findBlock(from).next();
         block.isValid() && block.position() <= to; block = block.next()) {
        if (continues(block))
            text[block.position() - 1 - from] =
                jointBefore(block) == Joint::Space ? QChar(u' ') : QChar(u'\u200b');
    }
}

int paragraphNumber(const QTextBlock& block)
{
    int number = block.blockNumber();
    for (QTextBlock piece = block; piece.isValid(); piece = piece.previous())
        if (continues(piece))
            --number;
    return number;
}

QTextBlock paragraphStart(const QTextDocument& document, int number)
{
    int at = -1;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (!continues(block) && ++at == number)
            return block;
    return {};
}

} // namespace ParagraphPieces
