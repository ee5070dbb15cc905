#include "formats/base/PartDeflater.h"

#include <QThread>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>

namespace {

// What a sync flush may add beyond what deflateBound() allows for.
constexpr qsizetype s_flushRoom = 64;

struct StreamEnd
{
    void operator()(z_stream* stream) const
    {
        deflateEnd(stream);
        delete stream;
    }
};
using Stream = std::unique_ptr<z_stream, StreamEnd>;

// A deflate's state is a quarter of a megabyte, part of it zeroed on making: a long part has
// dozens of pieces, so the states are kept and reset rather than made for each.
class StreamPool
{
public:
    Stream take()
    {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_free.empty()) {
                Stream stream = std::move(m_free.back());
                m_free.pop_back();
                deflateReset(stream.get());
                return stream;
            }
        }
        Stream stream(new z_stream{});
        // The fastest deflate: a book's text still shrinks to a third, in half the time.
        if (deflateInit2(stream.get(), Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8,
                         Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
        return stream;
    }

    void give(Stream stream)
    {
        const std::lock_guard lock(m_mutex);
        if (m_free.size() <= size_t(QThread::idealThreadCount()))
            m_free.push_back(std::move(stream));
    }

private:
    std::mutex m_mutex;
    std::vector<Stream> m_free;
};

StreamPool& streams()
{
    static StreamPool pool;
    return pool;
}

// A part's last piece ends the stream; the others end with a sync flush, on a byte boundary.
DeflatedPart deflatePiece(const QByteArray& bytes, bool last)
{
    DeflatedPart piece;
    const auto* in = reinterpret_cast<const Bytef*>(bytes.constData());
    piece.size = bytes.size();
    piece.crc = quint32(crc32_z(0, in, size_t(bytes.size())));
    Stream stream = streams().take();
    stream->next_in = const_cast<Bytef*>(in);
    stream->avail_in = uInt(bytes.size());
    piece.data.resize(qsizetype(deflateBound(stream.get(), uLong(bytes.size()))) + s_flushRoom);
    do {
        const qsizetype done = qsizetype(stream->total_out);
        if (done == piece.data.size())
            piece.data.resize(done * 2);
        stream->next_out = reinterpret_cast<Bytef*>(piece.data.data()) + done;
        stream->avail_out = uInt(piece.data.size() - done);
        deflate(stream.get(), last ? Z_FINISH : Z_SYNC_FLUSH);
    } while (stream->avail_out == 0);
    piece.data.truncate(qsizetype(stream->total_out));
    streams().give(std::move(stream));
    return piece;
}

} // namespace

QByteArray PartDeflater::add(QByteArray bytes)
{
    // No more pieces wait than there are threads to deflate them, so memory stays bounded.
    const size_t waiting = size_t(std::max(2, QThread::idealThreadCount()));
    if (m_pieces.size() >= waiting)
        m_pieces[m_pieces.size() - waiting].wait();
    m_pieces.push_back(std::async(std::launch::async, [this, bytes = std::move(bytes)]() mutable {
        const DeflatedPart piece = deflatePiece(bytes, false);
        bytes.truncate(0);
        const std::lock_guard lock(m_spentMutex);
        m_spent.push_back(std::move(bytes));
        return piece;
    }));
    const std::lock_guard lock(m_spentMutex);
    if (m_spent.empty())
        return {};
    QByteArray spent = std::move(m_spent.back());
    m_spent.pop_back();
    return spent;
}

void PartDeflater::prepend(const QByteArray& bytes)
{
    std::promise<DeflatedPart> piece;
    piece.set_value(deflatePiece(bytes, false));
    m_pieces.push_front(piece.get_future());
}

DeflatedPart PartDeflater::finish(const QByteArray& last)
{
    const DeflatedPart end = deflatePiece(last, true);
    DeflatedPart part;
    for (std::future<DeflatedPart>& future : m_pieces) {
        const DeflatedPart piece = future.get();
        part.data += piece.data;
        part.crc = quint32(crc32_combine(part.crc, piece.crc, piece.size));
        part.size += piece.size;
    }
    m_pieces.clear();
    part.data += end.data;
    part.crc = quint32(crc32_combine(part.crc, end.crc, end.size));
    part.size += end.size;
    return part;
}

DeflatedPart PartDeflater::deflate(const QByteArray& bytes)
{
    PartDeflater deflater;
    qsizetype at = 0;
    for (; bytes.size() - at > pieceSize; at += pieceSize)
        deflater.add(bytes.sliced(at, pieceSize));
    return deflater.finish(at == 0 ? bytes : bytes.sliced(at));
}

bool PartDeflater::write(QuaZip& zip, const QString& name, const QDateTime& time,
                         const DeflatedPart& part)
{
    QuaZipFile file(&zip);
    QuaZipNewInfo info(name);
    info.dateTime = time;
    info.uncompressedSize = ulong(part.size);
    // Raw: the bytes are deflated already; the level only sets the entry's flags.
    const bool written =
        file.open(QIODevice::WriteOnly, info, nullptr, part.crc, Z_DEFLATED, Z_BEST_SPEED, true) &&
        file.write(part.data) == part.data.size();
    file.close();
    return written && file.getZipError() == ZIP_OK;
}
