#include "formats/base/PageFurniture.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Properties of the root frame's format, after the page setup's.
enum Property {
    FirstStory = QTextFormat::UserProperty + 0x5200,
    TitlePage = FirstStory + PageFurniture::StoryCount,
    FacingPages,
    HeaderY,
    FooterY,
    FootnoteStyle,
    FootnoteStart,
    EndnoteStyle,
    EndnoteStart,
};

// One note's label and the places of the marks that show it.
struct NoteMarks
{
    QString label;
    bool custom = false;
    std::vector<std::pair<int, int>> spans;
};

// Where a note's first paragraph starts, and whether it starts with a mark.
struct NoteStart
{
    bool endnote = false;
    int position = 0;
    bool marked = false;
};

QHash<int, NoteStart> noteStarts(const QTextDocument& document)
{
    QHash<int, NoteStart> starts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const int note = format.intProperty(PageFurniture::NoteBody);
        if (note == 0 || starts.contains(note))
            continue;
        const auto first = block.begin();
        starts.insert(note, {format.boolProperty(PageFurniture::Endnote), block.position(),
                             !first.atEnd() && first.fragment().charFormat().hasProperty(
                                                   PageFurniture::NoteMark)});
    }
    return starts;
}

// Writers repeat a mark of their own at the start of its note as plain text: that text is the
// note's own mark.
void tieOwnMark(QTextDocument& document, int note, const NoteStart& start, const QString& label)
{
    QTextCursor cursor(&document);
    cursor.setPosition(start.position);
    cursor.setPosition(std::min(start.position + int(label.size()), document.characterCount() - 1),
                       QTextCursor::KeepAnchor);
    if (start.marked || cursor.selectedText() != label)
        return;
    QTextCharFormat mark;
    mark.setProperty(PageFurniture::NoteMark, note);
    mark.setProperty(PageFurniture::CustomMark, true);
    cursor.mergeCharFormat(mark);
}

} // namespace

PageFurniture PageFurniture::of(const QTextDocument& document)
{
    const QTextFrameFormat format = document.rootFrame()->frameFormat();
    PageFurniture furniture;
    for (int story = 0; story < StoryCount; ++story)
        furniture.stories[size_t(story)] = format.property(FirstStory + story).toByteArray();
    furniture.titlePage = format.boolProperty(TitlePage);
    furniture.facingPages = format.boolProperty(FacingPages);
    if (format.hasProperty(HeaderY))
        furniture.headerY = format.intProperty(HeaderY);
    if (format.hasProperty(FooterY))
        furniture.footerY = format.intProperty(FooterY);
    if (format.hasProperty(FootnoteStyle))
        furniture.footnotes = {Numbering::Style(format.intProperty(FootnoteStyle)),
                               format.intProperty(FootnoteStart)};
    if (format.hasProperty(EndnoteStyle))
        furniture.endnotes = {Numbering::Style(format.intProperty(EndnoteStyle)),
                              format.intProperty(EndnoteStart)};
    return furniture;
}

void PageFurniture::keepIn(QTextDocument& document) const
{
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    const QTextFrameFormat before = format;
    const PageFurniture plain;
    for (int story = 0; story < StoryCount; ++story)
        format.setProperty(FirstStory + story, stories[size_t(story)].isEmpty()
                                                   ? QVariant()
                                                   : QVariant(stories[size_t(story)]));
    format.setProperty(TitlePage, titlePage ? QVariant(true) : QVariant());
    format.setProperty(FacingPages, facingPages ? QVariant(true) : QVariant());
    format.setProperty(HeaderY, headerY != plain.headerY ? QVariant(headerY) : QVariant());
    format.setProperty(FooterY, footerY != plain.footerY ? QVariant(footerY) : QVariant());
    const bool footnotesKept = footnotes != plain.footnotes;
    format.setProperty(FootnoteStyle, footnotesKept ? QVariant(footnotes.style) : QVariant());
    format.setProperty(FootnoteStart, footnotesKept ? QVariant(footnotes.start) : QVariant());
    const bool endnotesKept = endnotes != plain.endnotes;
    format.setProperty(EndnoteStyle, endnotesKept ? QVariant(endnotes.style) : QVariant());
    format.setProperty(EndnoteStart, endnotesKept ? QVariant(endnotes.start) : QVariant());
    if (format != before)
        document.rootFrame()->setFrameFormat(format);
}

PageFurniture::Story PageFurniture::storyFor(bool header, int page) const
{
    const auto present = [this](int story) {
        return stories[size_t(story)].isEmpty() ? StoryCount : Story(story);
    };
    const int base = header ? Header : Footer;
    if (titlePage && page == 1)
        return present(base + (HeaderFirst - Header));
    if (facingPages) {
        const Story side = present(base + (page % 2 == 0 ? HeaderLeft : HeaderRight));
        if (side != StoryCount)
            return side;
    }
    return present(base);
}

void PageFurniture::numberNotes(QTextDocument& document) const
{
    const QHash<int, NoteStart> starts = noteStarts(document);
    QHash<int, NoteMarks> marks;
    int counts[2] = {0, 0};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
            const QTextFragment fragment = fragments.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const int note = format.intProperty(NoteMark);
            if (note == 0)
                continue;
            auto found = marks.find(note);
            if (found == marks.end() && format.boolProperty(CustomMark)) {
                found = marks.insert(note, {fragment.text(), true, {}});
            } else if (found == marks.end()) {
                const bool isEndnote = starts.value(note).endnote;
                found = marks.insert(
                    note,
                    {(isEndnote ? endnotes : footnotes).label(counts[isEndnote]++), false, {}});
            }
            if (fragment.text() != found->label)
                found->spans.emplace_back(fragment.position(), fragment.length());
        }
    }
    std::vector<std::pair<std::pair<int, int>, const NoteMarks*>> changes;
    for (auto note = marks.cbegin(); note != marks.cend(); ++note) {
        if (note->custom && starts.contains(note.key()))
            tieOwnMark(document, note.key(), starts.value(note.key()), note->label);
        for (const auto& span : note->spans)
            changes.push_back({span, &note.value()});
    }
    // From the end, so each change leaves the places of those before it alone.
    std::sort(changes.begin(), changes.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [span, note] : changes) {
        QTextCursor cursor(&document);
        cursor.setPosition(span.first);
        cursor.setPosition(span.first + span.second, QTextCursor::KeepAnchor);
        QTextCharFormat format = cursor.charFormat();
        if (note->custom)
            format.setProperty(CustomMark, true);
        cursor.insertText(note->label, format);
    }
}
