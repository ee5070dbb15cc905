// Paste and Undo through the real main window, offscreen, with what other programs put on the
// clipboard at its worst: HTML nested deeper than any page, and one paragraph of megabytes, with
// and without a place to break a line. Each measures the command and the layout that follows,
// until the window takes its next event. The same source builds against older code, to compare.
#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kilobyte = 1024;

QString nestedHtml(int depth)
{
    return QStringLiteral("<html><body><p>start ") + QStringLiteral("<b><i>").repeated(depth) +
           QStringLiteral("deep words") + QStringLiteral("</i></b>").repeated(depth) +
           QStringLiteral(" end</p></body></html>");
}

/// One line of size characters: letters and digits with no place to break a line, as in a
/// hexadecimal or base64url blob, or the same cut into words.
QString oneLine(qsizetype size, bool words)
{
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString line;
    line.reserve(size);
    for (qsizetype i = 0; i < size; ++i)
        line += words && i % 7 == 6 ? QLatin1Char(' ') : alphabet[int((i * 37) % alphabet.size())];
    return line;
}

/// A main window with a few words typed and the clipboard holding what another program
/// offered.
struct PasteDesk : BenchWindow
{
    explicit PasteDesk(QMimeData* offered)
    {
        messages.answer = MessageService::Button::Discard;
        editor->setSelText(QStringLiteral("ab"));
        QGuiApplication::clipboard()->setMimeData(offered);
        QApplication::processEvents();
    }

    // The editor lays out a changed document a piece at a time after the command returns; the
    // writer waits for all of it before the window answers again.
    void trigger(const char* name)
    {
        window->findChild<QAction*>(QLatin1String(name))->trigger();
        editor->document()->pageCount();
        QApplication::processEvents();
    }

    /// Pastes over the whole text, so every paste starts from the same document.
    void pasteOverAll()
    {
        trigger("mnuSelectall");
        trigger("mnuPaste");
    }
};

QMimeData* htmlAlone(const QString& html)
{
    auto* data = new QMimeData;
    data->setHtml(html);
    return data;
}

QMimeData* textAlone(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

void BM_PasteNestedHtml(benchmark::State& state)
{
    PasteDesk desk(htmlAlone(nestedHtml(int(state.range(0)))));
    for (auto _ : state)
        desk.pasteOverAll();
    state.counters["characters"] = double(desk.editor->Text().size());
}
BENCHMARK(BM_PasteNestedHtml)
    ->ArgName("depth")
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

/// The line a run of a one-line benchmark pastes, by its arguments (oneLineSizes()).
QString lineOf(const benchmark::State& state)
{
    return oneLine(state.range(0) * kilobyte, state.range(1));
}

void reportLine(benchmark::State& state, const PasteDesk& desk)
{
    state.counters["characters"] = double(desk.editor->Text().size());
    state.SetLabel(state.range(1) ? "words" : "no spaces");
}

void BM_PasteOneLine(benchmark::State& state)
{
    PasteDesk desk(textAlone(lineOf(state)));
    for (auto _ : state)
        desk.pasteOverAll();
    reportLine(state, desk);
}

// Undo swaps the pasted line out, then back in: only bringing it back is timed.
void BM_UndoReinsertOneLine(benchmark::State& state)
{
    PasteDesk desk(textAlone(lineOf(state)));
    desk.trigger("mnuPaste");
    for (auto _ : state) {
        state.PauseTiming();
        desk.trigger("mnuUndo");
        state.ResumeTiming();
        desk.trigger("mnuUndo");
    }
    reportLine(state, desk);
}

// One keystroke in the middle of the pasted line, laid out and drawn, as the writer sees it.
void BM_TypeInOneLine(benchmark::State& state)
{
    PasteDesk desk(textAlone(lineOf(state)));
    desk.trigger("mnuPaste");
    desk.editor->setSelStart(int(desk.editor->Text().size() / 2));
    for (auto _ : state) {
        desk.sendKey(QEvent::KeyPress, Qt::Key_X, QStringLiteral("x"));
        desk.sendKey(QEvent::KeyRelease, Qt::Key_X, QStringLiteral("x"));
        desk.editor->document()->pageCount();
        desk.editor->viewport()->repaint();
    }
    reportLine(state, desk);
}

// The length of the line in kilobytes, and whether it holds words. The smaller lines without a
// place to break show how the time grows with the length.
void oneLineSizes(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"KB", "words"})
        ->Args({128, 0})
        ->Args({256, 0})
        ->Args({2048, 0})
        ->Args({1024, 1})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}
BENCHMARK(BM_PasteOneLine)->Apply(oneLineSizes);
BENCHMARK(BM_UndoReinsertOneLine)->Apply(oneLineSizes);
BENCHMARK(BM_TypeInOneLine)->Apply(oneLineSizes);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv);
}
