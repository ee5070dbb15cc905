#include "formats/base/PartDeflater.h"

#include <QThread>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <memory>

namespace {

// ISA-L's fastest deflate with its own match finder: half the time zlib's fastest takes, for a
// tenth more bytes.
constexpr uint32_t s_level = 1;

// A deflate's state and its level's buffer are a third of a megabyte: a long part has dozens of
// pieces, so they are kept and reset rather than made for each.
struct Deflate
{
    isal_zstream stream{};
    std::vector<uint8_t> levelBuffer = std::vector<uint8_t>(ISAL_DEF_LVL1_DEFAULT);
};

class DeflatePool
{
public:
    std::unique_ptr<Deflate> take()
    {
        std::unique_ptr<Deflate> deflate;
        {
            const std::lock_guard lock(m_mutex);
            if (!m_free.empty()) {
                deflate = std::move(m_free.back());
                m_free.pop_back();
            }
        }
        if (!deflate)
            deflate = std::make_unique<Deflate>();
        isal_deflate_init(&deflate->stream);
        deflate->stream.level = s_level;
        deflate->stream.level_buf = deflate->levelBuffer.data();
        deflate->stream.level_buf_size = uint32_t(deflate->levelBuffer.size());
        return deflate;
    }

    void give(std::unique_ptr<Deflate> deflate)
    {
        const std::lock_guard lock(m_mutex);
        if (m_free.size() <= size_t(QThread::idealThreadCount()))
            m_free.push_back(std::move(deflate));
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Deflate>> m_free;
};

DeflatePool& deflates()
{
    static DeflatePool pool;
    return pool;
}

// A part's last piece ends the stream; the others end with a sync flush, on a byte boundary.
DeflatedPart deflatePiece(const QByteArray& bytes, bool last)
{
    DeflatedPart piece;
    auto* const in = reinterpret_cast<uint8_t*>(const_cast<char*>(bytes.constData()));
    piece.size = bytes.size();
    piece.crc = crc32_gzip_refl(0, in, uint64_t(bytes.size()));
    std::unique_ptr<Deflate> deflate = deflates().take();
    isal_zstream& stream = deflate->stream;
    stream.end_of_stream = last ? 1 : 0;
    stream.flush = last ? NO_FLUSH : SYNC_FLUSH;
    stream.next_in = in;
    stream.avail_in = uint32_t(bytes.size());
    // Text that does not shrink is stored, in blocks with a few bytes of header each.
    piece.data.resize(bytes.size() + bytes.size() / 64 + 1024);
    do {
        const qsizetype done = qsizetype(stream.total_out);
        if (done == piece.data.size())
            piece.data.resize(done * 2);
        stream.next_out = reinterpret_cast<uint8_t*>(piece.data.data()) + done;
        stream.avail_out = uint32_t(piece.data.size() - done);
        isal_deflate(&stream);
    } while (stream.avail_out == 0);
    piece.data.truncate(qsizetype(stream.total_out));
    deflates().give(std::move(deflate));
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
