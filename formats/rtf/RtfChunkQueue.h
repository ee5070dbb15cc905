#pragma once

#include "formats/rtf/RtfBuildChunk.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

/// Hands chunks from the thread that reads RTF to the one that builds the document. It holds a
/// few at most, so a reader far faster than the builder waits rather than fills memory.
class RtfChunkQueue
{
public:
    enum class Pop { Chunk, Waiting, Closed };
    /// What push() throws once the builder has given up.
    struct Abandoned
    {
    };

    /// Waits while the queue is full.
    void push(RtfBuildChunk&& chunk);
    /// No more chunks will come.
    void close();
    /// No more chunks will be taken: push() throws Abandoned from now on, waiting or not.
    void abandon();
    /// Waits up to patience for the next chunk: Chunk when chunk holds it, Waiting when none
    /// came, Closed when none will.
    Pop pop(RtfBuildChunk& chunk, std::chrono::milliseconds patience);

private:
    static constexpr size_t s_capacity = 4;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<RtfBuildChunk> m_chunks;
    bool m_closed = false;
    bool m_abandoned = false;
};
