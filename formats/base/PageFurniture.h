#pragma once

#include "formats/base/Numbering.h"

#include <QByteArray>
#include <QTextFormat>

#include <array>

class QTextDocument;

/// What a page carries besides the body's text: headers and footers, and the properties that
/// tie notes to their marks and mark page numbers. Kept in the document's root frame format, like
/// PageSetup, so a copy made for printing, an undo snapshot and a document kept aside each carry
/// their own and the editing view shows none of it.
struct PageFurniture
{
    /// The headers and footers RTF names: for every page, left and right pages, the first page.
    enum Story {
        Header,
        HeaderLeft,
        HeaderRight,
        HeaderFirst,
        Footer,
        FooterLeft,
        FooterRight,
        FooterFirst,
        StoryCount
    };

    /// Properties of characters and paragraphs in the body. A note is one or more paragraphs of
    /// the notes section, each carrying NoteBody, the note's number; its mark in the text is one
    /// character carrying NoteMark, the same number. Matching by number rather than by place
    /// lets either be edited, moved or copied while the two stay paired, and lets the note stay
    /// readable in the editing view.
    enum Property {
        NoteMark = QTextFormat::UserProperty + 0x5100,
        NoteBody,
        /// On a note's paragraphs: printed at the end rather than at the foot of its page.
        Endnote,
        /// On the heading above the notes, which only the editing view needs.
        NotesHeading,
        /// On characters standing for the number of the page they are printed on.
        PageNumber,
        /// On a note's marks whose text is the writer's own (such as "*") rather than a number:
        /// numbering leaves them as they are and does not count their note.
        CustomMark,
    };

    /// Each story as RTF of the program's own writing, which keeps all its formatting and its
    /// page numbers; empty where there is none.
    std::array<QByteArray, StoryCount> stories;
    /// The first page has its own header and footer.
    bool titlePage = false;
    /// Left and right pages have their own.
    bool facingPages = false;
    /// From the paper's edge to the header's top and to the footer's foot, in twips.
    int headerY = 720;
    int footerY = 720;

    static PageFurniture of(const QTextDocument& document);
    /// Keeps this in document; a document without furniture keeps its format as it was.
    void keepIn(QTextDocument& document) const;
    bool isEmpty() const { return *this == PageFurniture(); }
    /// The story printed above (header) or below page number page, counted from 1, or
    /// StoryCount when the page has none.
    Story storyFor(bool header, int page) const;

    /// How the notes of each kind are numbered: footnotes and endnotes each count their own.
    Numbering footnotes;
    /// Word's endnotes count i, ii, iii unless the file says otherwise.
    Numbering endnotes{Numbering::LowerRoman, 1};

    /// Gives each note's marks, in the text and in the note, the label its kind's numbering
    /// gives it, counting in the order of the marks. A note whose mark is the writer's own
    /// shows it in every mark; the same text at the start of such a note is its own mark.
    void numberNotes(QTextDocument& document) const;

    bool operator==(const PageFurniture&) const = default;
};
