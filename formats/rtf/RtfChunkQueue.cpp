#include "formats/rtf/RtfChunkQueue.h"

void RtfChunkQueue::push(RtfBuildChunk&& chunk)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_chunks.size() < s_capacity || m_abandoned; });
    if (m_abandoned)
        throw Abandoned();
    m_chunks.push_back(std::move(chunk));
    m_changed.notify_all();
}

void RtfChunkQueue::close()
{
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

void RtfChunkQueue::abandon()
{
    const std::lock_guard lock(m_mutex);
    m_abandoned = true;
    m_chunks.clear();
    m_changed.notify_all();
}

RtfChunkQueue::Pop RtfChunkQueue::pop(RtfBuildChunk& chunk, std::chrono::milliseconds patience)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, patience, [this] { return !m_chunks.empty() || m_closed; }))
        return Pop::Waiting;
    if (m_chunks.empty())
        return Pop::Closed;
    chunk = std::move(m_chunks.front());
    m_chunks.pop_front();
    m_changed.notify_all();
    return Pop::Chunk;
}
