#pragma once

#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfParagraphState.h"
#include "formats/rtf/RtfTableRow.h"

#include <QByteArray>
#include <QTextCharFormat>

#include <string>
#include <vector>

/// A stretch of what reading RTF makes of a document, in order, as RtfBuildStream records it
/// and RtfDocumentBuilder carries it out; it may pass between threads.
struct RtfBuildChunk
{
    struct Image
    {
        QByteArray data;
        double width = 0;
        double height = 0;
    };

    struct Command
    {
        enum class Kind : quint8 {
            /// formats[index] gets the next format id.
            Format,
            /// paragraphs[index] is the paragraph formatting in force from here on.
            Paragraph,
            /// text[start, start + length) in format id.
            Text,
            /// images[index].
            Image,
            /// Hidden text text[start, start + length) in format id.
            Hidden,
            /// Ends the paragraph; id formats its mark.
            EndParagraph,
            /// Starts a table row laid out as rows[index], before its first cell's content.
            StartRow,
            /// Ends a table cell; id formats its last paragraph's mark.
            EndCell,
            /// Ends a table row.
            EndRow,
            /// Opens a note under a heading in format id.
            StartNote,
            /// Opens the header or footer id, a PageFurniture::Story.
            StartStory,
            /// Ends the note or the story; id formats its last paragraph's mark.
            EndNote,
            /// Ends the document; id formats its last paragraph's mark, furniture holds the
            /// headers' and footers' settings and info the title and author.
            Finish,
        };

        Kind kind;
        /// A format id, or the index of the command's item in its list.
        int id;
        size_t start = 0;
        size_t length = 0;
    };

    void clear()
    {
        commands.clear();
        text.clear();
        formats.clear();
        paragraphs.clear();
        images.clear();
        furniture = PageFurniture();
        info = DocumentInfo();
        rows.clear();
    }

    std::vector<Command> commands;
    std::u16string text;
    std::vector<QTextCharFormat> formats;
    std::vector<RtfParagraphState> paragraphs;
    std::vector<Image> images;
    PageFurniture furniture;
    DocumentInfo info;
    std::vector<RtfTableRow> rows;
};
