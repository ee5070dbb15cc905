#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextCursor>

#include <limits>

class QTextDocument;

/// Qt lays a paragraph out whole after any change in it: a keystroke in a paragraph of a
/// megabyte took a third of a second. So the editor holds a paragraph of many thousand
/// characters as several blocks, its pieces, and whatever leaves the editor (files, the
/// clipboard, print, counts, line numbers) sees one paragraph again.
///
/// A piece after the first is marked with its joint: the space whose place the break took, or,
/// in a run with no space to take, nothing. Positions stay those of the paragraph: a space's
/// joint is where the space was, and Text() gives a joint of nothing as a zero-width space.
namespace ParagraphPieces {

enum class Joint { None, Space, Nothing };

/// The length a piece is cut at, and half of it the shortest a piece is cut.
inline constexpr int pieceLength = 4096;

/// How block continues the paragraph of the block before it; None when it starts one.
Joint jointBefore(const QTextBlock& block);
/// Whether block is a piece after the first of its paragraph: it has a joint, and the block
/// before is in the same cell or frame.
bool continues(const QTextBlock& block);
/// The format of the paragraph whose first piece is first: its own, with the space below
/// that its last piece holds.
QTextBlockFormat paragraphFormat(const QTextBlock& first);
/// The first and the last piece of block's paragraph; block itself when it is whole.
QTextBlock firstPiece(QTextBlock block);
QTextBlock lastPiece(QTextBlock block);
/// Whether document holds a paragraph in pieces.
bool anyIn(const QTextDocument& document);

/// Cuts every paragraph from the block holding from to the one holding to that is too long
/// into pieces, each as long as a paragraph may be laid out at every keystroke. Cuts only at
/// a space formatted as the character before it, or, in a run of no spaces, between
/// characters; never inside seed words, list items, or where no room is left.
void split(QTextDocument& document, int from, int to);
/// Makes every paragraph from the one holding from to the one holding to whole again.
void join(QTextDocument& document, int from = 0, int to = std::numeric_limits<int>::max());
/// Marks the blocks after the one holding from up to the cursor's own as paragraphs of their
/// own: the breaks just inserted there, by typing, pasting or dropping, are the writer's.
void startParagraphs(QTextCursor& cursor, int from);
/// The cursor's selection widened to the whole of the paragraphs it touches, so a paragraph's
/// format changes in all its pieces.
QTextCursor wholeParagraphs(const QTextCursor& cursor);

/// The plain text of document from position from with each piece's break, a line break there,
/// turned back into its joint.
void restoreJoints(const QTextDocument& document, int from, QString& text);
/// The 0-based number of block's paragraph, and the block where paragraph number starts
/// (invalid when there is none).
int paragraphNumber(const QTextBlock& block);
QTextBlock paragraphStart(const QTextDocument& document, int number);

} // namespace ParagraphPieces
