#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>
#include <future>
#include <mutex>
#include <vector>

class QuaZip;

/// A zip part's bytes deflated, with the checksum and size its entry states.
struct DeflatedPart
{
    QByteArray data;
    quint32 crc = 0;
    qint64 size = 0;
};

/// Deflates a zip part piece by piece on other threads while the rest of it is still being
/// made: a long document's body is tens of megabytes of XML, and deflating it on the writing
/// thread took as long as writing it. Each piece ends on a byte boundary, so the pieces join
/// into one stream, and their checksums into one.
class PartDeflater
{
public:
    /// What a piece of a part holds, about; smaller bytes are deflated when the part ends.
    static constexpr qsizetype pieceSize = qsizetype(1) << 20;

    /// The next bytes of the part; gives back the bytes of a piece deflated already, emptied,
    /// to fill again, or nothing when there is none.
    QByteArray add(QByteArray bytes);
    /// Bytes that go before all the others.
    void prepend(const QByteArray& bytes);
    /// The whole part, of the bytes added and then last.
    DeflatedPart finish(const QByteArray& last);
    /// bytes as a whole part.
    static DeflatedPart deflate(const QByteArray& bytes);
    /// Adds part to zip, as a deflated entry named name; false when the zip library failed.
    static bool write(QuaZip& zip, const QString& name, const QDateTime& time,
                      const DeflatedPart& part);

private:
    /// Pieces' bytes once deflated, kept for the pieces after: tens of fresh megabytes cost more
    /// in page faults than deflating them.
    std::mutex m_spentMutex;
    std::vector<QByteArray> m_spent;
    /// Last, so that the pieces still deflating are waited for before the rest goes.
    std::deque<std::future<DeflatedPart>> m_pieces;
};
