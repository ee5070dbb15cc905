#include "formats/rtf/RtfBuildStream.h"

#include "formats/rtf/RtfCharacterPolicy.h"

#include <utility>

namespace {

// Small enough that the builder starts soon and the reader never runs far ahead of it, large
// enough that handing a chunk over costs nothing next to filling it.
constexpr size_t s_chunkCommands = 1024;
constexpr size_t s_chunkCharacters = 64 * 1024;

} // namespace

RtfBuildStream::RtfBuildStream(Sink sink) : m_sink(std::move(sink)) {}

int RtfBuildStream::addFormat(const QTextCharFormat& format)
{
    m_chunk.commands.push_back({Kind::Format, int(m_chunk.formats.size())});
    m_chunk.formats.push_back(format);
    return m_formats++;
}

void RtfBuildStream::appendText(QStringView text, int formatId, const RtfParagraphState& paragraph)
{
    if (formatId != m_runFormat) {
        flushRun(paragraph);
        m_runFormat = formatId;
    }
    std::u16string& run = m_chunk.text;
    const size_t start = run.size();
    run.resize(start + size_t(text.size()));
    char16_t* const begin = run.data();
    char16_t* target = begin + start;
    // A high surrogate waits at the end of the run for its low half; anything else after it, or
    // a low half with none before, stands alone.
    bool afterHigh = start != m_runStart && QChar::isHighSurrogate(target[-1]);
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (passesAsIs(c) && !afterHigh) {
            *target++ = c;
            continue;
        }
        if (RtfCharacterPolicy::isDropped(c))
            continue;
        if (afterHigh && !QChar::isLowSurrogate(c))
            target[-1] = QChar::ReplacementCharacter;
        *target++ =
            QChar::isLowSurrogate(c) && !afterHigh ? char16_t(QChar::ReplacementCharacter) : c;
        afterHigh = QChar::isHighSurrogate(c);
    }
    run.resize(size_t(target - begin));
}

void RtfBuildStream::appendImage(const QByteArray& data, double width, double height,
                                 const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::Image, int(m_chunk.images.size())}, paragraph);
    m_chunk.images.push_back({data, width, height});
}

void RtfBuildStream::appendHidden(QStringView text, int formatId,
                                  const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    std::u16string& buffer = m_chunk.text;
    const size_t start = buffer.size();
    buffer.append(text.utf16(), size_t(text.size()));
    recordInParagraph({Kind::Hidden, formatId, start, buffer.size() - start}, paragraph);
    m_runStart = buffer.size();
    handOverWhenFull();
}

void RtfBuildStream::endParagraph(int markFormatId, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::EndParagraph, markFormatId}, paragraph);
    handOverWhenFull();
}

void RtfBuildStream::startRow(const RtfTableRow& row, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::StartRow, int(m_chunk.rows.size())}, paragraph);
    m_chunk.rows.push_back(row);
}

void RtfBuildStream::endCell(int markFormatId, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::EndCell, markFormatId}, paragraph);
    handOverWhenFull();
}

void RtfBuildStream::endRow(const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::EndRow, 0}, paragraph);
    handOverWhenFull();
}

void RtfBuildStream::startNote(int headingFormatId, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    m_chunk.commands.push_back({Kind::StartNote, headingFormatId});
}

void RtfBuildStream::startStory(int story, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    m_chunk.commands.push_back({Kind::StartStory, story});
}

void RtfBuildStream::endNote(int markFormatId, const RtfParagraphState& paragraph)
{
    flushRun(paragraph);
    recordInParagraph({Kind::EndNote, markFormatId}, paragraph);
}

void RtfBuildStream::finish(int markFormatId, const RtfParagraphState& paragraph,
                            const PageFurniture& furniture, const DocumentInfo& info)
{
    flushRun(paragraph);
    recordInParagraph({Kind::Finish, markFormatId}, paragraph);
    m_chunk.furniture = furniture;
    m_chunk.info = info;
    handOver();
}

void RtfBuildStream::flushRun(const RtfParagraphState& paragraph)
{
    std::u16string& run = m_chunk.text;
    if (run.size() == m_runStart)
        return;
    if (QChar::isHighSurrogate(run.back()))
        run.back() = QChar::ReplacementCharacter;
    recordInParagraph({Kind::Text, m_runFormat, m_runStart, run.size() - m_runStart}, paragraph);
    m_runStart = run.size();
    handOverWhenFull();
}

void RtfBuildStream::recordInParagraph(const RtfBuildChunk::Command& command,
                                       const RtfParagraphState& paragraph)
{
    if (!(paragraph == m_recordedParagraph)) {
        m_recordedParagraph = paragraph;
        m_chunk.commands.push_back({Kind::Paragraph, int(m_chunk.paragraphs.size())});
        m_chunk.paragraphs.push_back(paragraph);
    }
    m_chunk.commands.push_back(command);
}

void RtfBuildStream::handOverWhenFull()
{
    if (m_chunk.commands.size() >= s_chunkCommands || m_chunk.text.size() >= s_chunkCharacters)
        handOver();
}

void RtfBuildStream::handOver()
{
    m_sink(m_chunk);
    m_chunk.clear();
    m_runStart = 0;
}
