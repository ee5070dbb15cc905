#pragma once

#include "formats/rtf/RtfBuildChunk.h"

#include <array>
#include <memory>

#include <QList>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;

/// Fills a QTextDocument with what RtfBuildStream recorded, through one cursor inside one edit
/// block.
class RtfDocumentBuilder
{
public:
    /// Empties document and opens the edit block, which the chunk that finishes closes. A
    /// paragraph is made when its first content arrives, with the formatting in force then, as
    /// it mostly stays.
    explicit RtfDocumentBuilder(QTextDocument* document);
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    /// Carries out the chunk's commands; chunks must come in the order they were recorded.
    void apply(const RtfBuildChunk& chunk);

private:
    /// Where text goes: the body, the notes after it, or a header or footer.
    struct Target
    {
        QTextCursor cursor;
        /// The format the current block was made with.
        QTextBlockFormat blockFormat;
        bool paragraphHasText = false;
        /// Whether the current paragraph is still to be made.
        bool paragraphPending = false;
        QTextList* list = nullptr;
        int paragraphs = 0;
    };

    void insertText(QStringView text, int formatId);
    void insertImage(const RtfBuildChunk::Image& image);
    void endParagraph(int markFormatId);
    void startNote(int headingFormatId);
    void startStory(int story);
    void endNote(int markFormatId);
    void finish(int markFormatId, PageFurniture furniture);
    /// Keeps the headers and footers read, and their settings, with the document.
    void keepFurniture(PageFurniture& furniture);
    /// The target's cursor, after making its pending paragraph with markFormat on its mark.
    QTextCursor& cursor(const QTextCharFormat& markFormat = QTextCharFormat());
    void closeParagraph(int markFormatId);
    void joinList(QTextListFormat::Style style);

    QTextDocument* m_document;
    /// The paragraph formatting in force: the block's format and the list it is an item of.
    QTextBlockFormat m_blockFormat;
    QTextListFormat::Style m_list = QTextListFormat::ListStyleUndefined;
    Target m_body;
    Target m_notes;
    Target m_story;
    std::array<std::unique_ptr<QTextDocument>, PageFurniture::StoryCount> m_stories;
    Target* m_target = &m_body;
    bool m_undoWasEnabled;
    QList<QTextCharFormat> m_formats;
};
