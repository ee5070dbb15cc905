#pragma once

#include "formats/rtf/RtfBuildChunk.h"

#include <QChar>
#include <QStringView>

#include <functional>

/// Records what reading makes of a document as chunks of commands for RtfDocumentBuilder,
/// gathering characters of one format into one run. Keeping the two apart lets the document be
/// built on one thread while the RTF is read on another. Each command that may make or end a
/// paragraph comes with the paragraph formatting in force, which goes on record before it when it
/// differs from what was recorded last; the run such a command ends takes that formatting too.
class RtfBuildStream
{
public:
    /// Takes each chunk once it is full, and the last one at finish(); it may keep its content.
    using Sink = std::function<void(RtfBuildChunk&)>;

    explicit RtfBuildStream(Sink sink);
    RtfBuildStream(const RtfBuildStream&) = delete;
    RtfBuildStream& operator=(const RtfBuildStream&) = delete;

    /// Registers a character format; the returned id names it in appendText().
    int addFormat(const QTextCharFormat& format);
    /// Adds text to the current run, dropping characters a body cannot hold; a surrogate
    /// without its other half becomes U+FFFD.
    void appendText(QStringView text, int formatId, const RtfParagraphState& paragraph);
    /// appendText() for one character, which mostly goes straight on the end of the run.
    void appendCharacter(char16_t character, int formatId, const RtfParagraphState& paragraph)
    {
        std::u16string& run = m_chunk.text;
        if (formatId == m_runFormat && passesAsIs(character) &&
            (run.size() == m_runStart || !QChar::isHighSurrogate(run.back())))
            run.push_back(character);
        else
            appendText(QStringView(&character, 1), formatId, paragraph);
    }
    /// Adds a PNG or JPEG picture, kept as its bytes; a size of 0 leaves the picture's own.
    void appendImage(const QByteArray& data, double width, double height,
                     const RtfParagraphState& paragraph);
    /// Adds a run of hidden text, kept apart from the text that shows.
    void appendHidden(QStringView text, int formatId, const RtfParagraphState& paragraph);
    /// Closes the current paragraph; markFormatId formats it when it holds no text.
    void endParagraph(int markFormatId, const RtfParagraphState& paragraph);
    /// Starts a table row laid out as row; the paragraphs up to endRow() are its cells'.
    void startRow(const RtfTableRow& row, const RtfParagraphState& paragraph);
    /// Closes the current paragraph and the table cell it ends.
    void endCell(int markFormatId, const RtfParagraphState& paragraph);
    void endRow(const RtfParagraphState& paragraph);
    /// Records that what follows, until endNote(), is a note, the first of which opens the notes
    /// under a heading in headingFormatId.
    void startNote(int headingFormatId, const RtfParagraphState& paragraph);
    /// Records that what follows, until endNote(), is the header or footer story.
    void startStory(int story, const RtfParagraphState& paragraph);
    /// Records the note's or story's end; markFormatId formats its last paragraph's mark.
    void endNote(int markFormatId, const RtfParagraphState& paragraph);
    /// Closes the last paragraph and hands over the last chunk, with furniture's settings and
    /// the document's info.
    void finish(int markFormatId, const RtfParagraphState& paragraph,
                const PageFurniture& furniture, const DocumentInfo& info);

private:
    using Kind = RtfBuildChunk::Command::Kind;

    /// Most text is neither dropped nor a surrogate: one test lets it through.
    static bool passesAsIs(char16_t c) { return c >= 0x20 && c < 0xd800 && c != 0x2029; }
    void flushRun(const RtfParagraphState& paragraph);
    /// Records a command that may make the paragraph, after the paragraph formatting it needs.
    void recordInParagraph(const RtfBuildChunk::Command& command,
                           const RtfParagraphState& paragraph);
    void handOverWhenFull();
    void handOver();

    /// The paragraph formatting the builder holds once it has carried out what was recorded.
    RtfParagraphState m_recordedParagraph;
    Sink m_sink;
    RtfBuildChunk m_chunk;
    /// Where the run being gathered starts in m_chunk.text.
    size_t m_runStart = 0;
    int m_runFormat = -1;
    int m_formats = 0;
};
