// Typing and Open at book length with spelling on and off, through the real main window,
// offscreen: what a keystroke costs, what the checks after a pause cost, and what Open costs
// until the document shows its count and its underline.
#include "app/frmVellumo.h"
#include "documents/DocumentStatistics.h"
#include "documents/FileCommands.h"
#include "platform/RichTextBox.h"
#include "spelling/SpellingCommands.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

/// A main window whose current document holds size bytes of short lines, with spelling on or
/// off and the dictionary already read.
struct Desk : BenchWindow
{
    Desk(qsizetype size, bool spelling)
    {
        messages.answer = MessageService::Button::Discard;
        holdText(size);
        if (window->findChild<SpellingCommands*>()->isActive() != spelling)
            window->findChild<QAction*>(QStringLiteral("mnuCheckSpelling"))->trigger();
        rest();
    }

    /// What runs once the writer pauses: the count, and the check of the words in view.
    void rest()
    {
        window->findChild<DocumentStatistics*>()->tmrStatistics_Timer();
        window->findChild<SpellingCommands*>()->tmrSpelling_Timer();
    }

    void type(int key, const QString& text)
    {
        sendKey(QEvent::KeyPress, key, text);
        sendKey(QEvent::KeyRelease, key, text);
    }
};

const char* label(bool spelling)
{
    return spelling ? "spelling on" : "spelling off";
}

// One key pressed and released at 5 MB: the edit, its layout and the undo check. The count and
// the spelling check wait for a pause, so a keystroke only restarts their timers.
void BM_Keystroke5MB(benchmark::State& state)
{
    const bool spelling = state.range(0);
    Desk desk(5 * megabyte, spelling);
    if (desk.window->findChild<SpellingCommands*>()->isActive() != spelling)
        state.SkipWithError("no dictionary to check with");
    for (auto _ : state)
        desk.type(Qt::Key_X, QStringLiteral("x"));
    state.SetLabel(label(spelling));
}
BENCHMARK(BM_Keystroke5MB)
    ->ArgName("spelling")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// A keystroke and then all that waits for the pause: the count of the changed paragraph and,
// with spelling on, the check of the words in view.
void BM_KeystrokeAndPause5MB(benchmark::State& state)
{
    const bool spelling = state.range(0);
    Desk desk(5 * megabyte, spelling);
    for (auto _ : state) {
        desk.type(Qt::Key_X, QStringLiteral("x"));
        desk.rest();
    }
    state.SetLabel(label(spelling));
}
BENCHMARK(BM_KeystrokeAndPause5MB)
    ->ArgName("spelling")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Open of a 5 MB file until it shows: read, laid out for the screen, counted and checked.
void BM_Open5MB(benchmark::State& state)
{
    const bool spelling = state.range(0);
    Desk desk(5 * megabyte, spelling);
    const QString file = desk.dir.filePath(QStringLiteral("big.doc"));
    if (!saveDocument(*desk.editor, file))
        state.SkipWithError("could not write the document to open");
    desk.dialog.next = file;
    for (auto _ : state) {
        desk.window->findChild<FileCommands*>()->mnuOpen_Click();
        QApplication::processEvents();
        desk.rest();
    }
    if (desk.messages.boxes)
        state.SkipWithError("Open showed a message");
    state.SetLabel(label(spelling));
}
BENCHMARK(BM_Open5MB)
    ->ArgName("spelling")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

// Reading the English dictionary, which the first check does once per run.
void BM_ReadDictionary(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Desk desk(0, false);
        desk.window->findChild<QAction*>(QStringLiteral("mnuCheckSpelling"))->trigger();
        state.ResumeTiming();
        desk.window->findChild<SpellingCommands*>()->tmrSpelling_Timer();
    }
}
BENCHMARK(BM_ReadDictionary)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv);
}
