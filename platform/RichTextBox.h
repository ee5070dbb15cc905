#pragma once

#include "platform/TextPlace.h"

#include <QTextBlock>
#include <QTextEdit>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class PlaceRestorer;
class QPrinter;

/// The rich text editing control: a QTextEdit with the operations the program relies on.
///
/// Positions are 0-based character offsets into the plain text; a paragraph break
/// counts as one character. Rich text goes in and out as RTF.
class RichTextBox : public QTextEdit
{
    Q_OBJECT

public:
    /// Search options of Find; they add up.
    enum FindOption { rtfWholeWord = 2, rtfMatchCase = 4 };

    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;
    /// The whole document as RTF.
    QString TextRTF() const;
    /// TextRTF() as the 7-bit bytes the writer makes, without widening them to UTF-16.
    QByteArray rtfData() const;
    void setTextRTF(const QString& rtf);
    /// setTextRTF() that keeps the caret (on a character boundary, at most at the new end)
    /// and the view where they were.
    void setTextRTFInPlace(const QString& rtf);

    /// Shows another document in place of the current one, which is deleted unless someone
    /// else has taken it as their child.
    void showDocument(QTextDocument* shown);
    /// Where the writer is: the selection and the view.
    TextPlace place() const;
    /// Puts the selection and the view back where place says, within the text there is now.
    void setPlace(const TextPlace& place);
    /// setPlace() for a document just shown: at once where the layout allows, else once it is
    /// laid out that far, unless the writer clicks or types first.
    void restorePlace(const TextPlace& place);

    /// Where the document stands in its own history of edits: the steps it could undo.
    int historyStep() const;
    /// Makes the next edit a step of its own in the history.
    void sealHistory();
    /// Undoes or redoes edits, keeping the caret and the view, until the document stands at
    /// step; false, changing nothing, when its history no longer reaches that step.
    bool moveInHistory(int step);

    qint64 SelStart() const;
    void setSelStart(qint64 position);
    qint64 SelLength() const;
    void setSelLength(qint64 length);
    QString SelText() const;
    void setSelText(const QString& text);
    /// The selection as an RTF document; "" when nothing is selected.
    QString SelRTF() const;
    /// Replaces the selection: text that starts as RTF does ("{\rtf", white space allowed around
    /// the brace) goes in formatted, other text as plain, with the properties of plainMarks.
    /// Returns what the RTF held that the editor cannot keep, in short phrases, each once.
    QStringList setSelRTF(const QString& text, const QTextCharFormat& plainMarks = {});

    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);
    void setSelStrikeThru(bool on);
    void setSelBullet(bool on);
    void setSelColor(const QColor& color);
    void setSelFontName(const QString& family);
    void setSelFontSize(float points);
    /// Spaces the selected paragraphs' lines, in percent of single spacing.
    void setSelLineSpacing(int percent);
    /// The caret's paragraph's line spacing in percent of single spacing; 0 for a fixed or
    /// least height.
    int SelLineSpacing() const;
    /// Replaces the selection with a new paragraph that starts a new page.
    void insertPageBreak();

    /// Searches [start, end) of the plain text; selects and returns the match, or -1.
    qint64 Find(const QString& text, qint64 start, qint64 end, int options);
    /// The 0-based paragraph holding position; the text length yields the last one.
    qint64 GetLineFromChar(qint64 position) const;
    /// The position where paragraph line starts, or -1 when there is no such line.
    qint64 positionOfLine(qint64 line) const;

    /// Prints the selection, or the whole document when nothing is selected.
    void SelPrint(QPrinter* printer) const;
    void SetFocus();

    /// Counts every change of text or formatting, so callers can tell when nothing changed.
    quint64 contentRevision() const { return m_contentRevision; }

    /// Character properties that what the writer types, or inserts as plain text, never takes
    /// from the text beside it, as it takes the font.
    void setUninheritedProperties(const QList<int>& properties) { m_uninherited = properties; }
    /// Draws colour over every character whose format has property, without touching the
    /// text; an invalid colour draws nothing.
    void setPropertyTint(int property, const QColor& color);

    /// Veils the text on screen but for [from, to) in the page colour, as if dimmed; from -1
    /// veils nothing.
    void setLitRange(qint64 from, qint64 to);
    /// Room below the end of the text, so its last line can scroll up the view.
    void setOverscroll(int pixels);
    /// Blank bands around the view, outside the page.
    void setViewMargins(const QMargins& margins) { setViewportMargins(margins); }
    QMargins viewMargins() const { return viewportMargins(); }

    /// The commands offered by the right-click menu.
    void setContextActions(const QList<QAction*>& actions) { m_contextActions = actions; }

signals:
    void SelChange();
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    /// A key went down in the editor, one the menu does not take as its shortcut.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// A mouse button went down over the text.
    void MouseDown(Qt::MouseButton button);
    /// Files were dropped into the editor; they are not inserted as text.
    void FilesDropped(const QStringList& paths);
    /// Text from elsewhere (pasted, dropped, or pasted with the middle button) is going in, and
    /// then is in.
    void ForeignTextStarts();
    void ForeignTextEnds();
    /// The right-click menu for the character at position is about to show; receivers may
    /// put entries of their own at its top.
    void ContextMenu(QMenu* menu, qint64 position);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dropEvent(QDropEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void document_Change(int from, int removed, int added);
    void leaveParagraphBehind(int from);
    void shapeInserted(int from, int to);
    /// Qt numbers a list from 1 wherever it starts.
    void drawListStarts();
    void drawPageBreaks();
    void drawTint();
    void drawVeil();
    void extendScrollRange(int maximum);
    /// The typing format at c without the uninherited properties; c's own when it has none.
    QTextCharFormat ownFormat(const QTextCursor& c) const;
    /// Readies the caret for a key that types text: what it types is the writer's own.
    void prepareTyping(const QKeyEvent* e);
    /// Readies the caret for text the editor inserts of its own accord, typed or dropped.
    void prepareOwnText();
    /// Keeps the layouts of the long paragraphs from block to last for drawing.
    static void keepLongLayouts(QTextBlock block, const QTextBlock& last);
    /// Shows shown wrapping its lines word by word, or anywhere while it holds a run with no
    /// place to break a line (LineBreakRuns), set before it is laid out.
    void setWrappedDocument(QTextDocument* shown);
    /// Runs change, then puts the caret and the view back where they were.
    void keepingPlace(const std::function<void()>& change);
    void mergeSelFormat(const QTextCharFormat& format);
    static void copyImages(const QTextDocument& source, QTextDocument& target);
    /// A document holding the selection, with the page of the whole.
    std::unique_ptr<QTextDocument> selectionDocument() const;
    void selectRange(qint64 start, qint64 length);
    qint64 boundaryNear(qint64 position) const;
    bool ownedByMenu(const QKeySequence& keys) const;

    quint64 m_contentRevision = 0;
    mutable quint64 m_plainRevision = ~quint64(0);
    mutable QString m_plainText;
    QList<QAction*> m_contextActions;
    QList<int> m_uninherited;
    int m_tintProperty = -1;
    QColor m_tint;
    qint64 m_litFrom = -1;
    qint64 m_litTo = -1;
    int m_overscroll = 0;
    int m_extendedMaximum = -1;
    PlaceRestorer* m_placeRestorer = nullptr;
};
