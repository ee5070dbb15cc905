// Loading a 50 MB seed file and injecting its words into a 1 MB document, offscreen.
#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedFile.h"
#include "seed/SeedPrompter.h"
#include "seed/SeedRun.h"
#include "seed/SeedWords.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype seedSize = 50 * 1024 * 1024;
constexpr qsizetype documentSize = 1024 * 1024;

/// Words of 1 to 9 letters from a fixed sequence, single spaces, a line break now and then.
QByteArray seedBytes(qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + 16);
    std::uint32_t x = 2463534242u;
    while (bytes.size() < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const int letters = 1 + int(x % 9);
        for (int i = 0; i < letters; ++i)
            bytes += char('a' + (x >> (3 * i + 4)) % 26);
        bytes += (x >> 28) == 0 ? '\n' : ' ';
    }
    return bytes;
}

/// A main window holding a 1 MB document, and a 50 MB seed file on disk.
struct Workbench : BenchWindow
{
    Workbench() : BenchWindow(20261207)
    {
        seedPath = dir.filePath(QStringLiteral("large-seed.txt"));
        QFile file(seedPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(seedBytes(seedSize)) < seedSize)
            qFatal("cannot write the seed file");
        file.close();
        dialog.next = seedPath;

        const QString line = QStringLiteral("A paragraph of the draft that the user is writing, "
                                            "number %1, with a few more words to make it long.\n");
        QString text;
        text.reserve(documentSize + 200);
        for (int n = 0; text.size() < documentSize; ++n)
            text += line.arg(n);
        document = text;
        reset();
    }

    /// The 1 MB document alone, laid out to its end as after a while of editing.
    void reset()
    {
        window->findChild<RichTextBox*>()->setTextRTF(document);
        window->findChild<RichTextBox*>()->setSelStart(document.size());
        window->findChild<RichTextBox*>()->setSelStart(0);
        QApplication::processEvents();
    }

    QString seedPath;
    QString document;
};

// Built on first use and gone before the application object, which its windows need.
std::unique_ptr<Workbench> theWorkbench;

Workbench& workbench()
{
    if (!theWorkbench)
        theWorkbench = std::make_unique<Workbench>();
    return *theWorkbench;
}

void BM_ReadSeedFile50MB(benchmark::State& state)
{
    const Workbench& b = workbench();
    qsizetype characters = 0;
    for (auto _ : state) {
        SeedFile file;
        if (!file.read(b.seedPath))
            state.SkipWithError("cannot read the seed file");
        characters = file.takeText().size();
    }
    state.counters["characters"] = double(characters);
    state.SetBytesProcessed(state.iterations() * seedSize);
}
BENCHMARK(BM_ReadSeedFile50MB)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void BM_SplitSeed50MB(benchmark::State& state)
{
    SeedFile file;
    file.read(workbench().seedPath);
    const QString text = file.takeText();
    qsizetype words = 0;
    for (auto _ : state)
        words = SeedWords(text).size();
    state.counters["words"] = double(words);
}
BENCHMARK(BM_SplitSeed50MB)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Picking a run's words from the 50 MB split, without writing them anywhere.
void BM_BuildRunFrom50MBSeed(benchmark::State& state)
{
    SeedFile file;
    file.read(workbench().seedPath);
    const QString text = file.takeText();
    const SeedWords words(text);
    RandomGenerator random(20261207);
    qsizetype written = 0;
    for (auto _ : state) {
        random.reseed(221);
        const float r1 = random.draw();
        written += SeedRun::build(words, r1, random.draw()).size();
    }
    state.counters["written"] =
        benchmark::Counter(double(written), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BuildRunFrom50MBSeed)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly();

// The whole "New Seed" command: read, split and the first run into the 1 MB document.
void BM_NewSeed50MBInto1MBDocument(benchmark::State& state)
{
    Workbench& b = workbench();
    for (auto _ : state)
        b.window->findChild<SeedPrompter*>()->mnuNewSeed_Click();
    if (b.window->findChild<SeedPrompter*>()->seedText().size() < seedSize || b.messages.boxes)
        state.SkipWithError("the seed was not loaded");
}
BENCHMARK(BM_NewSeed50MBInto1MBDocument)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

// One "Inject Seed" per repetition into the same 1 MB document, so the median is that of
// single injections. Writing the run dominates: its length grows with the seed (about a
// fortieth of its words on average), so a 5 KB seed shows what an injection costs besides.
void injectInto1MBDocument(benchmark::State& state, const QString& seed)
{
    Workbench& b = workbench();
    RichTextBox* editor = b.window->findChild<RichTextBox*>();
    b.reset();
    qsizetype written = 0;
    for (auto _ : state) {
        b.window->findChild<SeedPrompter*>()->injectseed(seed);
        // Taking the run out again keeps the document at 1 MB and its layout up to date.
        state.PauseTiming();
        const qsizetype run = editor->Text().size() - b.document.size();
        written += run;
        editor->setSelStart(editor->SelStart() - run);
        editor->setSelLength(run);
        editor->setSelText(QString());
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (b.messages.boxes || editor->Text() != b.document)
        state.SkipWithError("the injection warned or went wrong");
    state.counters["written"] =
        benchmark::Counter(double(written), benchmark::Counter::kAvgIterations);
}

// The length of the document's rich-text form decides where a run may go; this is its price.
void BM_RtfLengthOf1MBDocument(benchmark::State& state)
{
    Workbench& b = workbench();
    b.reset();
    qsizetype length = 0;
    for (auto _ : state)
        length = b.window->findChild<RichTextBox*>()->TextRTF().size();
    state.counters["rtf"] = double(length);
}
BENCHMARK(BM_RtfLengthOf1MBDocument)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(20);

void BM_Inject50MBSeedInto1MBDocument(benchmark::State& state)
{
    Workbench& b = workbench();
    if (b.window->findChild<SeedPrompter*>()->seedText().size() < seedSize)
        b.window->findChild<SeedPrompter*>()->mnuNewSeed_Click();
    injectInto1MBDocument(state, b.window->findChild<SeedPrompter*>()->seedText());
}
BENCHMARK(BM_Inject50MBSeedInto1MBDocument)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly();

void BM_Inject5KBSeedInto1MBDocument(benchmark::State& state)
{
    static const QString seed = QString::fromLatin1(seedBytes(5 * 1024));
    injectInto1MBDocument(state, seed);
}
BENCHMARK(BM_Inject5KBSeedInto1MBDocument)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv, [] { theWorkbench.reset(); });
}
