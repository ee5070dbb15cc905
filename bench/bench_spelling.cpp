// Spelling where it could hold the window: the check of one paragraph as long as a book, and
// the reading of a personal dictionary of millions of words, through the real main window,
// offscreen. Besides the time until the underline shows, each reports the longest the event
// loop went without turning while it ran (longest_hold_ms): what the writer feels as a freeze.
// Only the program's public entries are used, so this source builds against older trees too.
#include "app/frmVellumo.h"
#include "editing/EditorMarks.h"
#include "platform/RichTextBox.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>

namespace {

// The pause the check waits for.
constexpr int restMs = 250;

/// Letters that stand for n, as many as length: a made-up word of its own for each n.
QString lettersOf(qint64 n, int length)
{
    QString letters;
    for (; letters.size() < length; n /= 26)
        letters += QChar(char16_t(u'a' + n % 26));
    return letters;
}

/// A paragraph of at least size characters, every third word misspelt, most of them in a way
/// of their own, as in a long draft nobody has checked.
QString paragraphOf(qsizetype size)
{
    const QStringList words =
        QStringLiteral("the quiet morning light fell across a table where nobody had sat for "
                       "years and the window still held its salt and summer")
            .split(QLatin1Char(' '));
    QString text;
    text.reserve(size + 64);
    for (qint64 i = 0; text.size() < size; ++i) {
        QString word = words.at(i % words.size());
        if (i % 3 == 0)
            word = word.mid(1) + word.front() + lettersOf(i / 3 % 20000, 3);
        text += word + QLatin1Char(' ');
    }
    return text;
}

/// Runs the event loop until done() and returns the longest one turn of it took, in
/// milliseconds: a timer that fires at every turn measures the time between turns.
double longestHoldUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (done())
            loop.quit();
    });
    clock.start();
    turn.start(0);
    loop.exec();
    return double(longest) / 1e6;
}

/// A shown main window with spelling off, to be turned on when the measure starts.
struct Desk : BenchWindow
{
    Desk()
    {
        messages.answer = MessageService::Button::Discard;
        if (entry()->isChecked())
            entry()->trigger();
    }

    QAction* entry() const
    {
        return window->findChild<QAction*>(QStringLiteral("mnuCheckSpelling"));
    }

    /// A 1.4 MB paragraph, laid out, with the caret at its start.
    void holdLongParagraph()
    {
        editor->setSelText(paragraphOf(1400 * 1024));
        editor->setSelStart(0);
        QApplication::processEvents();
    }

    /// Turns spelling on and runs the event loop until the underline shows.
    double checkUntilUnderlined()
    {
        entry()->trigger();
        auto* marks = window->findChild<EditorMarks*>();
        return longestHoldUntil([marks] { return !marks->marks(EditorMarks::Spelling).isEmpty(); });
    }

    /// Types a key at the start of the text and lets the editor show it, then runs the event
    /// loop through the pause and the check after it, if spelling is on.
    double typeAndPause()
    {
        editor->setSelStart(0);
        sendKey(QEvent::KeyPress, Qt::Key_X, QStringLiteral("x"));
        sendKey(QEvent::KeyRelease, Qt::Key_X, QStringLiteral("x"));
        // The count of the paragraph's words and the recovery copy are not the check's.
        for (const char* other : {"tmrStatistics", "tmrWordCount", "tmrRecovery"})
            if (auto* timer = window->findChild<QTimer*>(QLatin1String(other)))
                timer->stop();
        auto* rest = window->findChild<QTimer*>(QStringLiteral("tmrSpelling"));
        auto* slices = window->findChild<QTimer*>(QStringLiteral("tmrChecking"));
        QElapsedTimer since;
        since.start();
        return longestHoldUntil([&] {
            return since.elapsed() > 2 * restMs && !rest->isActive() &&
                   !(slices && slices->isActive());
        });
    }
};

// A 1.4 MB paragraph, laid out, then spelling turned on: the first check of the run, which
// reads the dictionary too.
void BM_FirstCheckOfLongParagraph(benchmark::State& state)
{
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Desk desk;
        desk.holdLongParagraph();
        state.ResumeTiming();
        longest = std::max(longest, desk.checkUntilUnderlined());
    }
    state.counters["longest_hold_ms"] = longest;
}
BENCHMARK(BM_FirstCheckOfLongParagraph)->Unit(benchmark::kMillisecond)->Iterations(1);

// A key typed in the 1.4 MB paragraph, then the pause and the check it brings, spelling on (its
// first check done), or off, which shows what the editor alone holds the window for: its
// layout and repaint of the paragraph.
void BM_PauseInLongParagraph(benchmark::State& state)
{
    const bool spelling = state.range(0);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Desk desk;
        desk.holdLongParagraph();
        if (spelling)
            desk.checkUntilUnderlined();
        state.ResumeTiming();
        longest = std::max(longest, desk.typeAndPause());
    }
    state.counters["longest_hold_ms"] = longest;
    state.SetLabel(spelling ? "spelling on" : "spelling off");
}
BENCHMARK(BM_PauseInLongParagraph)
    ->ArgName("spelling")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The first check of a run whose personal dictionary is range(0) MB of words, one a line: until
// a misspelt word is underlined, which needs both dictionaries read.
void BM_ReadLargePersonalDictionary(benchmark::State& state)
{
    const qint64 size = state.range(0) * megabyte;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Desk desk;
        QByteArray list;
        list.reserve(size + 16);
        for (qint64 n = 0; list.size() < size; ++n)
            list += "zq" + lettersOf(n, 6).toLatin1() + '\n';
        QDir().mkpath(desk.services.dataDir);
        QFile file(QDir(desk.services.dataDir).filePath(QStringLiteral("dictionary.txt")));
        if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size())
            state.SkipWithError("could not write the personal dictionary");
        file.close();
        list.clear();
        desk.editor->setSelText(QStringLiteral("teh quick brown fox"));
        state.ResumeTiming();
        longest = std::max(longest, desk.checkUntilUnderlined());
    }
    state.counters["longest_hold_ms"] = longest;
    state.counters["peak_MB"] = peakKilobytes() / 1024;
}
BENCHMARK(BM_ReadLargePersonalDictionary)
    ->ArgName("MB")
    ->Arg(28)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv);
}
