#include "formats/rtf/RtfBuildStream.h"

#include "formats/rtf/RtfCharacterPolicy.h"

#include <utility>

namespace {

// Small enough that the builder starts soon and the reader never runs far ahead of it, large
// enough that handing a chunk over costs nothing next to filling it.
constexpr size_t s_chunkCommands = 1024;
constexpr size_t s_chunkCharacters = 64 * 1024;

} // namespace

RtfBuildStream::RtfBuildStream(const RtfParagraphState& paragraph, Sink sink)
    : m_paragraph(paragraph), m_sink(std::move(sink))
{
}

int RtfBuildStream::addFormat(const QTextCharFormat& format)
{
    m_chunk.commands.push_back({Kind::Format, int(m_chunk.formats.size())});
    m_chunk.formats.push_back(format);
    return m_formats++;
}

void RtfBuildStream::appendText(QStringView text, int formatId)
{
    if (formatId != m_runFormat) {
        flushRun();
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

void RtfBuildStream::appendImage(const QByteArray& data, double width, double height)
{
    flushRun();
    recordInParagraph({Kind::Image, int(m_chunk.images.size())});
    m_chunk.images.push_back({data, width, height});
    m_target->hasText = true;
}

void RtfBuildStream::endParagraph(int markFormatId)
{
    flushRun();
    recordInParagraph({Kind::EndParagraph, markFormatId});
    m_target->hasText = false;
    handOverWhenFull();
}

void RtfBuildStream::startNote(int headingFormatId)
{
    flushRun();
    m_chunk.commands.push_back({Kind::StartNote, headingFormatId});
    m_notes.hasText = false;
    m_target = &m_notes;
}

void RtfBuildStream::endNote(int markFormatId)
{
    if (m_target != &m_notes)
        return;
    flushRun();
    recordInParagraph({Kind::EndNote, markFormatId});
    m_target = &m_body;
}

void RtfBuildStream::finish(int markFormatId)
{
    flushRun();
    recordInParagraph({Kind::Finish, markFormatId});
    handOver();
}

void RtfBuildStream::flushRun()
{
    std::u16string& run = m_chunk.text;
    if (run.size() == m_runStart)
        return;
    if (QChar::isHighSurrogate(run.back()))
        run.back() = QChar::ReplacementCharacter;
    recordInParagraph({Kind::Text, m_runFormat, m_runStart, run.size() - m_runStart});
    m_runStart = run.size();
    m_target->hasText = true;
    handOverWhenFull();
}

void RtfBuildStream::recordInParagraph(const RtfBuildChunk::Command& command)
{
    if (!(m_paragraph == m_recordedParagraph)) {
        m_recordedParagraph = m_paragraph;
        m_chunk.commands.push_back({Kind::Paragraph, int(m_chunk.paragraphs.size())});
        m_chunk.paragraphs.push_back(m_paragraph);
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
