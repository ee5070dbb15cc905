// Reading and writing the manuscript, repeated to ~5 MB of text, as OpenDocument text, beside
// RTF on the same document and beside building its paragraphs and runs with a cursor. Bytes per
// second count the document's characters, so the rates compare directly.
#include "formats/BlankDocument.h"
#include "formats/DocumentFormats.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype s_documentCharacters = 5'000'000;

// The manuscript with its body repeated until the document holds s_documentCharacters; its
// notes are numbered on through the copies, as in a long book.
QTextDocument* makeDocument()
{
    QFile file(QFileInfo(QStringLiteral(__FILE__))
                   .dir()
                   .filePath(QStringLiteral("../tests/manuscript/manuscript.rtf")));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", qPrintable(file.fileName()));
    const QByteArray rtf = file.readAll();
    const qsizetype start = rtf.indexOf("\\pard\\plain\\f0\\fs24 Jane Aubrey");
    const qsizetype end = rtf.lastIndexOf('}');
    const QByteArray body = rtf.mid(start, end - start);
    QByteArray repeated = rtf.left(start);
    while (repeated.size() < s_documentCharacters)
        repeated += body;
    QTextDocument* document = BlankDocument::create();
    RtfReader().read(repeated + '}', document);
    return document;
}

QTextDocument& sample()
{
    static QTextDocument* document = makeDocument();
    return *document;
}

const QByteArray& sampleOdt()
{
    static const QByteArray odt = DocumentFormats::odt().write(sample(), {});
    return odt;
}

void inMilliseconds(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
}

void countCharacters(benchmark::State& state, qsizetype encodedBytes)
{
    state.SetBytesProcessed(state.iterations() * sample().characterCount());
    state.counters["encoded_MB"] = double(encodedBytes) / 1e6;
}

void odtWrite(benchmark::State& state)
{
    QByteArray odt;
    for (auto _ : state) {
        odt = DocumentFormats::odt().write(sample(), {});
        benchmark::DoNotOptimize(odt.data());
    }
    countCharacters(state, odt.size());
}

void rtfWrite(benchmark::State& state)
{
    QByteArray rtf;
    for (auto _ : state) {
        rtf = RtfWriter::write(sample());
        benchmark::DoNotOptimize(rtf.data());
    }
    countCharacters(state, rtf.size());
}

void odtRead(benchmark::State& state)
{
    for (auto _ : state) {
        const DocumentFormats::Read read = DocumentFormats::odt().read(sampleOdt(), {});
        if (!read.document)
            state.SkipWithError(qPrintable(read.error));
    }
    countCharacters(state, sampleOdt().size());
}

void rtfRead(benchmark::State& state)
{
    const QByteArray rtf = RtfWriter::write(sample());
    for (auto _ : state) {
        const std::unique_ptr<QTextDocument> document(BlankDocument::create());
        RtfReader().read(rtf, document.get());
    }
    countCharacters(state, rtf.size());
}

// The floor: the same paragraphs and runs typed in with a cursor.
void cursorBuild(benchmark::State& state)
{
    for (auto _ : state) {
        const std::unique_ptr<QTextDocument> target(BlankDocument::create());
        QTextCursor cursor(target.get());
        cursor.beginEditBlock();
        for (QTextBlock block = sample().begin(); block.isValid(); block = block.next()) {
            if (block != sample().begin())
                cursor.insertBlock(block.blockFormat(), block.charFormat());
            for (auto it = block.begin(); !it.atEnd(); ++it)
                cursor.insertText(it.fragment().text(), it.fragment().charFormat());
        }
        cursor.endEditBlock();
    }
    countCharacters(state, 0);
}

} // namespace

BENCHMARK(odtWrite)->Apply(inMilliseconds);
BENCHMARK(rtfWrite)->Apply(inMilliseconds);
BENCHMARK(odtRead)->Apply(inMilliseconds);
BENCHMARK(rtfRead)->Apply(inMilliseconds);
BENCHMARK(cursorBuild)->Apply(inMilliseconds);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
