#pragma once

#include "formats/base/Progress.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>
#include <vector>

class StepQueue;

/// What a reader does to the document it fills, as steps carried out in the order they are
/// posted. Outside readInParallel() a step is carried out at once. Inside, the read runs on a
/// second thread and hands its steps to the calling thread, which alone touches the document: a
/// step may reach it only through what the step captured or what no code but steps touches.
class BuildSteps
{
public:
    using Step = std::function<void()>;

    BuildSteps() = default;
    BuildSteps(const BuildSteps&) = delete;
    BuildSteps& operator=(const BuildSteps&) = delete;

    /// A batch of steps as it passes between the threads.
    struct Batch
    {
        struct Entry
        {
            Step step;
            /// Without a step, text[start, start + length) goes in at cursor in format.
            QTextCursor* cursor = nullptr;
            qsizetype start = 0;
            qsizetype length = 0;
            QTextCharFormat format;
        };
        std::vector<Entry> entries;
        QString text;

        void carryOut() const;
    };

    void post(Step step)
    {
        if (!m_queue)
            return step();
        m_batch.entries.push_back({std::move(step), nullptr, 0, 0, {}});
        handOverWhenFull();
    }
    /// The step most made: text inserted in format at cursor, which is touched only then. The
    /// text is copied into the batch rather than each run made a string of its own.
    void insertText(QTextCursor& cursor, const QString& text, const QTextCharFormat& format)
    {
        if (!m_queue)
            return cursor.insertText(text, format);
        settle(format);
        m_batch.entries.push_back({{}, &cursor, m_batch.text.size(), text.size(), format});
        m_batch.text += text;
        handOverWhenFull();
    }
    /// Qt works a format's hash out the first time the format is compared, and keeps it in the
    /// data the format's copies share: a format a step takes to the building thread, while the
    /// reading thread may still compare copies of it, has it worked out here first, or both
    /// threads could write it at once.
    static void settle(const QTextFormat& format);
    /// Hands the steps posted to the building thread now, not with the next full batch: for
    /// steps that each carry much.
    void handOver();

    /// Runs read, which tells how far it has come through the Progress it is given. When bytes,
    /// what it reads, are many enough to pay for a second thread, read runs there while this one
    /// carries out its steps as they come and tells progress; what either side throws is thrown
    /// here once both have stopped. Else, or with no thread to spare, read runs here.
    void readInParallel(const std::function<void(const Progress&)>& read, const Progress& progress,
                        qsizetype bytes);

private:
    // Large enough that handing a batch over costs nothing next to its steps, small enough that
    // the document is built while it is read.
    static constexpr size_t s_batchSteps = 1024;
    static constexpr qsizetype s_batchCharacters = 64 * 1024;

    void handOverWhenFull()
    {
        if (m_batch.entries.size() >= s_batchSteps || m_batch.text.size() >= s_batchCharacters)
            handOver();
    }

    StepQueue* m_queue = nullptr;
    Batch m_batch;
};
