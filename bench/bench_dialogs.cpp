// Go To and Find Next through the real dialogs in a 5 MB document, offscreen.
#include "app/frmVellumo.h"
#include "dialogs/SearchCommands.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "platform/RichTextBox.h"
#include "support/BenchHelpers.h"
#include "support/BenchWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype documentSize = 5 * 1024 * 1024;
const QString nearEnd = QStringLiteral("zephyrine");

/// A main window holding a 5 MB document of short lines, with one rare word near its end.
struct Workbench : BenchWindow
{
    Workbench()
    {
        QString text = textOf(documentSize);
        nearEndPosition = text.size() - 200;
        text.insert(nearEndPosition, nearEnd + QLatin1Char(' '));
        document = text;
        load();
        lineCount = text.count(QLatin1Char('\n')) + 1;
        lastLineStart = text.lastIndexOf(QLatin1Char('\n')) + 1;
    }

    /// Puts the document in the editor and lets it lay out all of it, as the idle editor does.
    void load()
    {
        window->findChild<RichTextBox*>()->setPlainText(document);
        window->findChild<RichTextBox*>()->document()->documentLayout()->documentSize();
    }

    QString document;
    qsizetype nearEndPosition = 0;
    qsizetype lineCount = 0;
    qsizetype lastLineStart = 0;
};

// Built on first use and gone before the application object, which its windows need.
std::unique_ptr<Workbench> theWorkbench;

Workbench& workbench()
{
    if (!theWorkbench)
        theWorkbench = std::make_unique<Workbench>();
    return *theWorkbench;
}

void click(QWidget* dialog, const char* button)
{
    dialog->findChild<QPushButton*>(QLatin1String(button))->click();
}

void gotoLastLine(benchmark::State& state, bool freshDocument)
{
    Workbench& b = workbench();
    RichTextBox* editor = b.window->findChild<RichTextBox*>();
    const QString entry = QString::number(b.lineCount);
    for (auto _ : state) {
        state.PauseTiming();
        if (freshDocument)
            editor->setPlainText(b.document);
        editor->setSelStart(0);
        state.ResumeTiming();
        b.window->findChild<QAction*>(QStringLiteral("mnuGoto"))->trigger();
        frmGoto* dialog = b.window->findChild<SearchCommands*>()->gotoDialog();
        dialog->findChild<QLineEdit*>(QStringLiteral("txtGoto"))->setText(entry);
        click(dialog, "cmdGotook");
    }
    if (editor->SelStart() != b.lastLineStart || b.messages.boxes)
        state.SkipWithError("Go To did not reach the last line");
    state.counters["lines"] = double(b.lineCount);
    if (freshDocument)
        b.load();
}

void BM_GotoLastLine(benchmark::State& state)
{
    gotoLastLine(state, false);
}
BENCHMARK(BM_GotoLastLine)->Unit(benchmark::kMicrosecond);

// Straight after loading, before the editor has laid out the text: showing the caret at the
// end makes the editor lay out the whole document first.
void BM_GotoLastLineFreshDocument(benchmark::State& state)
{
    gotoLastLine(state, true);
}
BENCHMARK(BM_GotoLastLineFreshDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

void findNextNearEnd(benchmark::State& state, bool afterEdit)
{
    Workbench& b = workbench();
    RichTextBox* editor = b.window->findChild<RichTextBox*>();
    b.window->findChild<QAction*>(QStringLiteral("mnuFind"))->trigger();
    frmFind* dialog = b.window->findChild<SearchCommands*>()->findDialog();
    dialog->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(nearEnd);
    click(dialog, "cmdFindcancel");
    for (auto _ : state) {
        if (afterEdit) {
            // An edit makes the control build its plain text afresh for the search.
            state.PauseTiming();
            editor->setSelStart(0);
            editor->setSelText(QStringLiteral("x"));
            editor->setSelStart(0);
            editor->setSelLength(1);
            editor->setSelText(QString());
            state.ResumeTiming();
        }
        b.window->findChild<QAction*>(QStringLiteral("mnuFind"))->trigger();
        click(dialog, "cmdFindnext");
        click(dialog, "cmdFindcancel");
    }
    if (editor->SelStart() != b.nearEndPosition || b.messages.boxes)
        state.SkipWithError("Find Next did not find the word near the end");
    state.SetBytesProcessed(state.iterations() * editor->Text().size() * qsizetype(sizeof(QChar)));
}

void BM_FindNextNearEnd(benchmark::State& state)
{
    findNextNearEnd(state, false);
}
BENCHMARK(BM_FindNextNearEnd)->Unit(benchmark::kMillisecond);

void BM_FindNextNearEndAfterEdit(benchmark::State& state)
{
    findNextNearEnd(state, true);
}
BENCHMARK(BM_FindNextNearEndAfterEdit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks(argc, argv, [] { theWorkbench.reset(); });
}
