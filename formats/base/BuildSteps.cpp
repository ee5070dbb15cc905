#include "formats/base/BuildSteps.h"

#include <QThread>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Below this a read takes milliseconds, too few to be worth a second thread. The fuzzers' build
// sets it to 0.
#ifndef QUILLMERE_PARALLEL_FROM
#define QUILLMERE_PARALLEL_FROM (1 << 20)
#endif
constexpr qsizetype s_parallelFrom = QUILLMERE_PARALLEL_FROM;
// How often progress is told while the building thread waits for the reading one.
constexpr std::chrono::milliseconds s_progressInterval(100);

} // namespace

/// Hands batches of steps from the reading thread to the building one. It holds a few at most,
/// so a reader far faster than the builder waits rather than fills memory.
class StepQueue
{
public:
    enum class Pop { Batch, Waiting, Closed };
    /// What push() throws once the builder has given up.
    struct Abandoned
    {
    };

    /// Waits while the queue is full.
    void push(BuildSteps::Batch&& batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_batches.size() < s_capacity || m_abandoned; });
        if (m_abandoned)
            throw Abandoned();
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
    }
    /// No more batches will come.
    void close()
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }
    /// No more batches will be taken: push() throws Abandoned from now on, waiting or not.
    void abandon()
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
        m_batches.clear();
        m_changed.notify_all();
    }
    /// Waits up to patience for the next batch.
    Pop pop(BuildSteps::Batch& batch)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, s_progressInterval,
                                [this] { return !m_batches.empty() || m_closed; }))
            return Pop::Waiting;
        if (m_batches.empty())
            return Pop::Closed;
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return Pop::Batch;
    }

private:
    static constexpr size_t s_capacity = 4;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<BuildSteps::Batch> m_batches;
    bool m_closed = false;
    bool m_abandoned = false;
};

namespace {

// The reading thread's side: what it posts goes to the queue, how far it has come to done.
struct ParallelRead
{
    StepQueue queue;
    std::atomic<qint64> done = 0;
    std::atomic<qint64> total = 0;
    std::exception_ptr failure;
};

void carryOut(ParallelRead& read, const Progress& progress)
{
    BuildSteps::Batch batch;
    qint64 told = 0;
    for (StepQueue::Pop popped; (popped = read.queue.pop(batch)) != StepQueue::Pop::Closed;) {
        if (popped == StepQueue::Pop::Batch)
            batch.carryOut();
        if (progress && read.done > told)
            progress(told = read.done, read.total);
    }
}

} // namespace

void BuildSteps::Batch::carryOut() const
{
    for (const Entry& entry : entries) {
        if (entry.step)
            entry.step();
        else // Qt copies the text, so the batch's own is lent rather than copied first.
            entry.cursor->insertText(
                QString::fromRawData(text.constData() + entry.start, entry.length), entry.format);
    }
}

void BuildSteps::settle(const QTextFormat& format)
{
    // Formats of different types compare unequal before their hashes are asked for, so each
    // type has a probe, whose own hash is worked out once, here.
    static constexpr int s_types = QTextFormat::FrameFormat + 1;
    static const std::array<QTextFormat, s_types> probes = [] {
        std::array<QTextFormat, s_types> made;
        for (int type = 0; type < s_types; ++type) {
            made[size_t(type)] = QTextFormat(type);
            made[size_t(type)].setProperty(QTextFormat::UserProperty, true);
            QTextFormat other(type);
            other.setProperty(QTextFormat::UserProperty + 1, true);
            const bool same = made[size_t(type)] == other;
            Q_UNUSED(same);
        }
        return made;
    }();
    if (format.type() >= 0 && format.type() < s_types) {
        const bool same = format == probes[size_t(format.type())];
        Q_UNUSED(same);
    }
}

void BuildSteps::handOver()
{
    if (!m_queue || m_batch.entries.empty())
        return;
    m_queue->push(std::move(m_batch));
    m_batch = {};
}

void BuildSteps::readInParallel(const std::function<void(const Progress&)>& read,
                                const Progress& progress, qsizetype bytes)
{
    if (bytes < s_parallelFrom || QThread::idealThreadCount() < 2)
        return read(progress);
    ParallelRead parallel;
    m_queue = &parallel.queue;
    std::thread reader;
    try {
        reader = std::thread([&] {
            try {
                read([&parallel](qint64 done, qint64 total) {
                    parallel.total = total;
                    parallel.done = done;
                });
                handOver();
            } catch (...) {
                parallel.failure = std::current_exception();
            }
            parallel.queue.close();
        });
    } catch (const std::system_error&) {
        // With no thread to spare, the file is read here, only more slowly.
        m_queue = nullptr;
        return read(progress);
    }
    const auto stop = [&] {
        reader.join();
        m_queue = nullptr;
        m_batch = {};
    };
    try {
        carryOut(parallel, progress);
    } catch (...) {
        // Cancelled, or out of memory: the reading thread stops before what it reads goes.
        parallel.queue.abandon();
        stop();
        throw;
    }
    stop();
    if (parallel.failure)
        std::rethrow_exception(parallel.failure);
}
