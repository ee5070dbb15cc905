// Recovery copies of a 5 MB document: the write itself, the timer's pass over the open
// documents, and what a key release costs when a copy is being written, offscreen.
#include "app/frmVellumo.h"
#include "documents/Recovery.h"
#include "documents/RecoveryStore.h"
#include "editing/UndoSnapshot.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

/// No dialog is expected while measuring.
class NoDialog : public CommonDialog
{
protected:
    bool runOpen() override { return false; }
    bool runSave() override { return false; }
    bool runPrinter() override { return false; }
    bool runColor() override { return false; }
    bool runFont() override { return false; }
};

/// Counts boxes instead of showing them: a box here means the benchmark went wrong.
class CountingMessages : public MessageService
{
public:
    void MsgBox(const QString&, Icon, const QString&) override { ++boxes; }
    Button ask(const QString&, const QList<Button>&, Button, const QString&) override
    {
        ++boxes;
        return Button::Discard;
    }

    int boxes = 0;
};

constexpr qsizetype megabyte = 1024 * 1024;

QString textOf(qsizetype size)
{
    const QString line = QStringLiteral("the quick brown fox jumps over the lazy dog %1\n");
    QString text;
    text.reserve(size + 100);
    for (int n = 0; text.size() < size; ++n)
        text += line.arg(n);
    return text;
}

/// A main window, its recovery folder in a temporary folder, holding size bytes of text.
struct Workbench
{
    explicit Workbench(qsizetype size)
    {
        services.dialog = &dialog;
        services.messages = &messages;
        services.random = &random;
        services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        services.dataDir = dir.filePath(QStringLiteral("data"));
        services.programDir = QApplication::applicationDirPath();
        window = std::make_unique<frmVellumo>(services);
        window->show();
        editor = window->txtFile();
        editor->setSelText(textOf(size));
        window->undo()->changeundo();
        editor->setSelStart(size / 2);
        QApplication::processEvents();
    }

    void key(QEvent::Type type)
    {
        QKeyEvent event(type, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(editor, &event);
    }

    QTemporaryDir dir;
    NoDialog dialog;
    CountingMessages messages;
    RandomGenerator random{1};
    AppServices services;
    std::unique_ptr<frmVellumo> window;
    RichTextBox* editor = nullptr;
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
    Recovery& recovery = *bench.window->recovery();
    for (auto _ : state) {
        state.PauseTiming();
        bench.key(QEvent::KeyPress);
        bench.key(QEvent::KeyRelease);
        state.ResumeTiming();
        recovery.tmrRecovery_Timer();
    }
    if (bench.messages.boxes)
        state.SkipWithError("a box was shown");
}
BENCHMARK(BM_RecoveryTick5MB)->Unit(benchmark::kMillisecond)->Iterations(10);

// A key release while recovery is on: 0 with no copy due, 1 with the tick's write landing
// between the press and the release, the worst a writer can meet.
void BM_KeyReleaseWithRecovery5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    Recovery& recovery = *bench.window->recovery();
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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
