// Recovery copies of a 5 MB document: the write itself, the timer's pass over the open
// documents, and what a key release costs when a copy is being written, offscreen.
#include "app/frmVellumo.h"
#include "documents/Recovery.h"
#include "documents/RecoveryStore.h"
#include "platform/RichTextBox.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

/// A main window, its recovery folder in a temporary folder, holding size bytes of text.
struct Workbench : BenchWindow
{
    explicit Workbench(qsizetype size)
    {
        messages.answer = MessageService::Button::Discard;
        holdText(size);
    }

    void key(QEvent::Type type) { sendKey(type, Qt::Key_X, QStringLiteral("x")); }
};

// Writing one copy: header, checksum, a temporary file and the rename over the old copy.
void BM_WriteCopy5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    RecoveryStore store(bench.dir.filePath(QStringLiteral("store")));
    if (!store.open())
        state.SkipWithError("could not open the recovery folder");
    const RecoveryStore::Copy copy{0, QStringLiteral("Untitled1"), false, bench.editor->rtfData()};
    for (auto _ : state)
        if (!store.write(copy))
            state.SkipWithError("the copy was not written");
    state.SetBytesProcessed(state.iterations() * copy.rtf.size());
}
BENCHMARK(BM_WriteCopy5MB)->Unit(benchmark::kMillisecond)->Iterations(10);

// The timer's tick after a keystroke: the event loop is busy this long when it fires.
void BM_RecoveryTick5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    Recovery& recovery = *bench.window->findChild<Recovery*>();
    for (auto _ : state) {
        state.PauseTiming();
        bench.key(QEvent::KeyPress);
        bench.key(QEvent::KeyRelease);
        state.ResumeTiming();
        recovery.tmrRecovery_Timer();
    }
    if (bench.messages.boxes || bench.messages.questions)
        state.SkipWithError("a box was shown");
}
BENCHMARK(BM_RecoveryTick5MB)->Unit(benchmark::kMillisecond)->Iterations(10);

// A key release while recovery is on: 0 with no copy due, 1 with the tick's write landing
// between the press and the release, the worst a writer can meet.
void BM_KeyReleaseWithRecovery5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    Recovery& recovery = *bench.window->findChild<Recovery*>();
    const bool writing = state.range(0) == 1;
    for (auto _ : state) {
        bench.key(QEvent::KeyPress);
        QElapsedTimer timer;
        timer.start();
        if (writing)
            recovery.tmrRecovery_Timer();
        bench.key(QEvent::KeyRelease);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.SetLabel(writing ? "copy written before the release" : "no copy due");
}
BENCHMARK(BM_KeyReleaseWithRecovery5MB)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv);
}
