// The undo check on a key release, Open and Save, and the memory of many open documents,
// through the real main window, offscreen.
#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "documents/FileCommands.h"
#include "editing/UndoSnapshot.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

/// Answers every file dialog with the name set beforehand.
class ScriptedDialog : public CommonDialog
{
public:
    QString next;

protected:
    bool runOpen() override { return answer(); }
    bool runSave() override { return answer(); }
    bool runPrinter() override { return false; }
    bool runColor() override { return false; }
    bool runFont() override { return false; }

private:
    bool answer()
    {
        FileName = next;
        return !next.isEmpty();
    }
};

/// Counts the boxes instead of showing them: a box here means the benchmark went wrong.
class CountingMessages : public MessageService
{
public:
    void MsgBox(const QString&, Icon, const QString&) override { ++boxes; }
    Button ask(const QString&, const QList<Button>&, Button, const QString&) override
    {
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

/// Peak resident memory of this process so far, in kilobytes.
double peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble();
    return 0;
}

/// A main window whose current document holds size bytes of short lines.
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
        if (size > 0) {
            editor->setSelText(textOf(size));
            window->undo()->changeundo();
        }
        editor->setSelStart(size / 2);
        QApplication::processEvents();
    }

    void press(int key, const QString& text = QString())
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &event);
    }
    void release(int key, const QString& text = QString())
    {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &event);
    }

    QTemporaryDir dir;
    ScriptedDialog dialog;
    CountingMessages messages;
    RandomGenerator random{1};
    AppServices services;
    std::unique_ptr<frmVellumo> window;
    RichTextBox* editor = nullptr;
};

// The release that follows typing one character: the undo check reads and stores the document.
void BM_KeyReleaseAfterTyping(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    for (auto _ : state) {
        bench.press(Qt::Key_X, QStringLiteral("x"));
        QElapsedTimer timer;
        timer.start();
        bench.release(Qt::Key_X, QStringLiteral("x"));
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.SetLabel(QStringLiteral("%1 MB").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_KeyReleaseAfterTyping)
    ->Arg(1)
    ->Arg(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Pressing and releasing a key as the user does: the edit, its layout and the undo check.
void BM_TypeOneCharacter(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    for (auto _ : state) {
        bench.press(Qt::Key_X, QStringLiteral("x"));
        bench.release(Qt::Key_X, QStringLiteral("x"));
    }
}
BENCHMARK(BM_TypeOneCharacter)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(20);

// An arrow key changes nothing, so its release must not read the document at all.
void BM_KeyReleaseChangingNothing(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    bench.press(Qt::Key_Right);
    bench.release(Qt::Key_Right);
    for (auto _ : state) {
        bench.press(Qt::Key_Right);
        bench.release(Qt::Key_Right);
    }
}
BENCHMARK(BM_KeyReleaseChangingNothing)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_Open5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    const QString file = bench.dir.filePath(QStringLiteral("big.doc"));
    if (!bench.editor->SaveFile(file))
        state.SkipWithError("could not write the document to open");
    bench.dialog.next = file;
    for (auto _ : state)
        bench.window->files()->mnuOpen_Click();
    if (bench.messages.boxes)
        state.SkipWithError("Open showed a message");
}
BENCHMARK(BM_Open5MB)->Unit(benchmark::kMillisecond)->Iterations(4);

// Each Save follows an edit, so it writes freshly read content.
void BM_Save5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    bench.dialog.next = bench.dir.filePath(QStringLiteral("big.doc"));
    bench.window->files()->mnuSaveas_Click();
    for (auto _ : state) {
        state.PauseTiming();
        bench.press(Qt::Key_X, QStringLiteral("x"));
        state.ResumeTiming();
        bench.window->files()->mnuSave_Click();
    }
    if (bench.messages.boxes)
        state.SkipWithError("Save showed a message");
}
BENCHMARK(BM_Save5MB)->Unit(benchmark::kMillisecond)->Iterations(4);

// Ten 1 MB documents opened, each then edited so that it holds two different states.
void BM_PeakMemoryTenDocuments(benchmark::State& state)
{
    for (auto _ : state) {
        const double before = peakKilobytes();
        Workbench bench(megabyte);
        const QString file = bench.dir.filePath(QStringLiteral("one.doc"));
        bench.editor->SaveFile(file);
        bench.window->documents()->mnuNew_Click();
        bench.dialog.next = file;
        for (int i = 0; i < 10; ++i) {
            bench.window->files()->mnuOpen_Click();
            bench.editor->setSelStart(i * 1000);
            bench.press(Qt::Key_X, QStringLiteral("x"));
            bench.release(Qt::Key_X, QStringLiteral("x"));
        }
        state.counters["peak_MB"] = peakKilobytes() / 1024;
        state.counters["before_MB"] = before / 1024;
        state.counters["documents"] = bench.window->documents()->store().count();
    }
}
BENCHMARK(BM_PeakMemoryTenDocuments)->Unit(benchmark::kMillisecond)->Iterations(1);

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
