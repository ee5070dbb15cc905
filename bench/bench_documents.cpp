// The undo check on a key release, typing, Undo, switching and injection beside what Qt's own
// editor costs for the same, Open and Save, and the memory of many open documents, through the
// real main window, offscreen.
#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "documents/FileCommands.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedPrompter.h"
#include "seed/SeedRun.h"
#include "seed/SeedWords.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

/// A main window whose current document holds size bytes of short lines.
struct Workbench : BenchWindow
{
    explicit Workbench(qsizetype size)
    {
        messages.answer = MessageService::Button::Discard;
        holdText(size);
    }

    void press(int key, const QString& text = QString()) { sendKey(QEvent::KeyPress, key, text); }
    void release(int key, const QString& text = QString())
    {
        sendKey(QEvent::KeyRelease, key, text);
    }
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

// The same with the sentence lit and the caret's line held in the middle of the view.
void BM_TypeOneCharacterFocused(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    bench.window->findChild<QAction*>(QStringLiteral("mnuFocusSentence"))->trigger();
    bench.window->findChild<QAction*>(QStringLiteral("mnuTypewriter"))->trigger();
    for (auto _ : state) {
        bench.press(Qt::Key_X, QStringLiteral("x"));
        bench.release(Qt::Key_X, QStringLiteral("x"));
    }
}
BENCHMARK(BM_TypeOneCharacterFocused)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(20);

// The floor for a keystroke: a plain QTextEdit, as Qt makes it, holding the same document at
// the same size and caret, shown in place of the main window.
void BM_BareEditorTypeOneCharacter(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    QTextEdit bare;
    bare.setDocument(bench.editor->document()->clone(&bare));
    // As Qt makes it: each paragraph's direction found from its text, which the editor spares.
    QTextOption option = bare.document()->defaultTextOption();
    option.setTextDirection(Qt::LayoutDirectionAuto);
    bare.document()->setDefaultTextOption(option);
    bare.resize(bench.editor->size());
    QTextCursor caret(bare.document());
    caret.setPosition(bench.editor->textCursor().position());
    bare.setTextCursor(caret);
    bench.window->hide();
    bare.show();
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&bare, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&bare, &release);
    }
}
BENCHMARK(BM_BareEditorTypeOneCharacter)
    ->Arg(1)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Undo after a typed character, which toggles back to the state before it.
void BM_Undo(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    for (auto _ : state) {
        state.PauseTiming();
        bench.press(Qt::Key_X, QStringLiteral("x"));
        bench.release(Qt::Key_X, QStringLiteral("x"));
        state.ResumeTiming();
        bench.window->findChild<UndoSnapshot*>()->mnuUndo_Click();
    }
}
BENCHMARK(BM_Undo)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(10);

// Undo is a toggle: after a typed character, ten Undos in a row, back and forth; the time is
// that of all ten.
void BM_UndoToggle(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    auto* undo = bench.window->findChild<UndoSnapshot*>();
    for (auto _ : state) {
        state.PauseTiming();
        bench.press(Qt::Key_X, QStringLiteral("x"));
        bench.release(Qt::Key_X, QStringLiteral("x"));
        state.ResumeTiming();
        for (int toggle = 0; toggle < 10; ++toggle)
            undo->mnuUndo_Click();
    }
}
BENCHMARK(BM_UndoToggle)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(3);

// Picking the other of two open documents of the same size in the list, each way in turn.
void BM_SwitchDocuments(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    bench.window->findChild<DocumentList*>()->mnuNew_Click();
    bench.holdText(state.range(0) * megabyte);
    int next = 0;
    for (auto _ : state) {
        bench.window->findChild<DocumentList*>()->selectEntry(next);
        next = 1 - next;
    }
}
BENCHMARK(BM_SwitchDocuments)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(10);

// One Inject Seed at a drawn place, against writing the same run there with a QTextCursor.
void BM_Inject(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    const QString seed = textOf(4096).replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (auto _ : state) {
        state.PauseTiming();
        bench.editor->setSelLength(0);
        state.ResumeTiming();
        bench.window->findChild<SeedPrompter*>()->injectseed(seed);
    }
}
BENCHMARK(BM_Inject)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CursorInsertRun(benchmark::State& state)
{
    Workbench bench(state.range(0) * megabyte);
    const QString seed = textOf(4096).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // The same runs at the same places as BM_Inject, from the same fixed random sequence.
    RandomGenerator random(bench.random.state());
    const SeedWords words(seed);
    for (auto _ : state) {
        state.PauseTiming();
        random.reseed(221);
        const float r1 = random.draw();
        const float r2 = random.draw();
        const QString run = SeedRun::build(words, r1, r2);
        const qint64 at =
            qMin<qint64>(SeedRun::caretPosition(random.draw(), bench.editor->TextRTF().size()),
                         bench.editor->document()->characterCount() - 1);
        state.ResumeTiming();
        QTextCursor cursor(bench.editor->document());
        cursor.setPosition(int(at));
        cursor.insertText(run);
    }
}
BENCHMARK(BM_CursorInsertRun)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(10);

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
    if (!saveDocument(*bench.editor, file))
        state.SkipWithError("could not write the document to open");
    bench.dialog.next = file;
    for (auto _ : state)
        bench.window->findChild<FileCommands*>()->mnuOpen_Click();
    if (bench.messages.boxes)
        state.SkipWithError("Open showed a message");
}
BENCHMARK(BM_Open5MB)->Unit(benchmark::kMillisecond)->Iterations(4);

// Each Save follows an edit, so it writes freshly read content.
void BM_Save5MB(benchmark::State& state)
{
    Workbench bench(5 * megabyte);
    bench.dialog.next = bench.dir.filePath(QStringLiteral("big.doc"));
    bench.window->findChild<FileCommands*>()->mnuSaveas_Click();
    for (auto _ : state) {
        state.PauseTiming();
        bench.press(Qt::Key_X, QStringLiteral("x"));
        state.ResumeTiming();
        bench.window->findChild<FileCommands*>()->mnuSave_Click();
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
        saveDocument(*bench.editor, file);
        bench.window->findChild<DocumentList*>()->mnuNew_Click();
        bench.dialog.next = file;
        for (int i = 0; i < 10; ++i) {
            bench.window->findChild<FileCommands*>()->mnuOpen_Click();
            bench.editor->setSelStart(i * 1000);
            bench.press(Qt::Key_X, QStringLiteral("x"));
            bench.release(Qt::Key_X, QStringLiteral("x"));
        }
        state.counters["peak_MB"] = peakKilobytes() / 1024;
        state.counters["before_MB"] = before / 1024;
        state.counters["documents"] = bench.window->findChild<DocumentList*>()->store().count();
    }
}
BENCHMARK(BM_PeakMemoryTenDocuments)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv);
}
