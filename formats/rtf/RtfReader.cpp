#include "formats/rtf/RtfReader.h"

#include "formats/rtf/RtfChunkQueue.h"
#include "formats/rtf/RtfDocumentBuilder.h"
#include "formats/rtf/RtfParser.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <QThread>

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

namespace {

// Below this a read takes milliseconds, too few to be worth a second thread.
constexpr qsizetype s_parallelFrom = 1 << 20;
// How often progress is told while the builder waits for the reader.
constexpr std::chrono::milliseconds s_progressInterval(100);

qsizetype skipSpace(QByteArrayView data, qsizetype at)
{
    while (at < data.size() && QChar::isSpace(uchar(data[at])))
        ++at;
    return at;
}

// Where the document's \rtf is, just inside its opening brace, or -1 when data does not start
// like RTF. Writers put white space and line breaks before the brace and after it.
qsizetype rtfStart(QByteArrayView data)
{
    static constexpr QByteArrayView s_utf8Bom("\xEF\xBB\xBF");
    qsizetype start = skipSpace(data, data.startsWith(s_utf8Bom) ? s_utf8Bom.size() : 0);
    if (start >= data.size() || data[start] != '{')
        return -1;
    start = skipSpace(data, start + 1);
    return data.sliced(start).startsWith("\\rtf") ? start : -1;
}

RtfReader::Findings readHere(QByteArrayView rtf, RtfDocumentBuilder& builder,
                             const Progress& progress)
{
    RtfParser parser(rtf, [&builder](RtfBuildChunk& chunk) { builder.apply(chunk); });
    parser.parse(progress);
    return {parser.losses(), parser.page()};
}

// The reading thread's side of a read in parallel: the parser hands its chunks to queue and
// tells how far it has come in parsed.
struct ParallelRead
{
    void parse(QByteArrayView rtf)
    {
        try {
            RtfParser parser(rtf, [this](RtfBuildChunk& chunk) { queue.push(std::move(chunk)); });
            parser.parse([this](qint64 done, qint64) { parsed = done; });
            found = {parser.losses(), parser.page()};
        } catch (...) {
            failure = std::current_exception();
        }
        queue.close();
    }

    RtfChunkQueue queue;
    std::atomic<qint64> parsed = 0;
    RtfReader::Findings found;
    std::exception_ptr failure;
};

// The building thread's side of a read in parallel: each chunk read goes into the document.
void build(ParallelRead& read, RtfDocumentBuilder& builder, const Progress& progress, qint64 total)
{
    RtfBuildChunk chunk;
    qint64 told = 0;
    for (RtfChunkQueue::Pop popped;
         (popped = read.queue.pop(chunk, s_progressInterval)) != RtfChunkQueue::Pop::Closed;) {
        if (popped == RtfChunkQueue::Pop::Chunk)
            builder.apply(chunk);
        if (progress && read.parsed > told)
            progress(told = read.parsed, total);
    }
}

// Qt's share of a read and ours are about equal, so building the document here while another
// thread reads the RTF nearly halves the time a large file takes to open.
RtfReader::Findings readInParallel(QByteArrayView rtf, RtfDocumentBuilder& builder,
                                   const Progress& progress)
{
    ParallelRead read;
    std::thread reader;
    try {
        reader = std::thread(&ParallelRead::parse, &read, rtf);
    } catch (const std::system_error&) {
        // With no thread to spare, the file is read here, only more slowly.
        return readHere(rtf, builder, progress);
    }
    try {
        build(read, builder, progress, rtf.size());
    } catch (...) {
        // Cancelled, or out of memory: the reading thread stops before the bytes it reads go.
        read.queue.abandon();
        reader.join();
        throw;
    }
    reader.join();
    if (read.failure)
        std::rethrow_exception(read.failure);
    return read.found;
}

} // namespace

bool RtfReader::isRtf(QByteArrayView data)
{
    return rtfStart(data) >= 0;
}

bool RtfReader::read(const QByteArray& data, QTextDocument* document, const Progress& progress)
{
    m_errorString.clear();
    m_read = {};
    const qsizetype start = rtfStart(data);
    if (!document || start < 0) {
        m_errorString = document
                            ? QCoreApplication::translate("RtfReader", "not an RTF document")
                            : QCoreApplication::translate("RtfReader", "no document to read into");
        return false;
    }
    const QByteArrayView rtf = QByteArrayView(data).sliced(start);
    RtfDocumentBuilder builder(document);
    m_read = rtf.size() >= s_parallelFrom && QThread::idealThreadCount() > 1
                 ? readInParallel(rtf, builder, progress)
                 : readHere(rtf, builder, progress);
    return true;
}

QString RtfReader::errorString() const
{
    return m_errorString;
}
