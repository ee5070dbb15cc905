// Reading and writing a ~5 MB mixed-format document as RTF, against Qt's own HTML, Word's DOCX
// and OpenDocument's ODT on the same document and beside building the same document through a
// cursor. Bytes per second count the document's characters, so all the rates compare directly. Then
// the same for ~5 MB files as LibreOffice, pandoc and AbiWord write them (their samples repeated),
// and one read of a 100 MB LibreOffice file. A large file is read on two threads, so every
// benchmark here reports the time that passes and, as its CPU time, what all of the process's
// threads spent.
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
#include <QTextList>

#include <benchmark/benchmark.h>

#include <array>
#include <map>

namespace {

constexpr qsizetype s_documentCharacters = 5'000'000;

QTextCharFormat formatFor(int variant)
{
    static const std::array<QColor, 4> colors = {QColor(0xc0, 0, 0), QColor(0, 0x60, 0xc0),
                                                 QColor(0x20, 0x80, 0x20), QColor(0, 0, 0)};
    static const std::array<const char*, 4> families = {"Arial", "Times New Roman", "Courier New",
                                                        "Fixedsys"};
    QTextCharFormat format;
    format.setFontWeight(variant % 3 == 0 ? QFont::Bold : QFont::Normal);
    format.setFontItalic(variant % 4 == 1);
    format.setFontUnderline(variant % 7 == 2);
    format.setForeground(colors[size_t(variant) % colors.size()]);
    format.setFontFamilies({QString::fromLatin1(families[size_t(variant / 2) % families.size()])});
    format.setFontPointSize(9 + variant % 5 * 1.5);
    return format;
}

QString runText(int variant)
{
    static const std::array<QString, 6> texts = {
        QStringLiteral("The quick brown fox jumps over the lazy dog, again and again. "),
        QStringLiteral("Plain words follow the formatted ones\tand a tab sits between. "),
        QStringLiteral("Façade, naïve café crème brûlée. "),
        QStringLiteral("Съешь же ещё этих мягких французских булок. "),
        QStringLiteral("日本語の文章も少し混ざっています。"),
        QStringLiteral("Ordinary text makes up most of a real document, line after line. "),
    };
    return texts[size_t(variant) % texts.size()];
}

// Built as a user's edits would be: whole runs through one cursor in one edit block.
QTextDocument* makeDocument()
{
    QTextDocument* document = BlankDocument::create();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    for (int paragraph = 0; document->characterCount() < s_documentCharacters; ++paragraph) {
        if (paragraph > 0)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        for (int run = 0; run < 8; ++run)
            cursor.insertText(runText(paragraph + run), formatFor(paragraph * 3 + run));
        const bool bullet = paragraph % 10 >= 7;
        if (!bullet)
            list = nullptr;
        else if (list)
            list->add(cursor.block());
        else
            list = cursor.createList(QTextListFormat::ListDisc);
    }
    cursor.endEditBlock();
    return document;
}

QTextDocument& sample()
{
    static QTextDocument* document = makeDocument();
    return *document;
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

void rtfWrite(benchmark::State& state)
{
    QByteArray rtf;
    for (auto _ : state) {
        rtf = RtfWriter::write(sample());
        benchmark::DoNotOptimize(rtf.data());
    }
    countCharacters(state, rtf.size());
}

void htmlWrite(benchmark::State& state)
{
    QString html;
    for (auto _ : state) {
        html = sample().toHtml();
        benchmark::DoNotOptimize(html.data());
    }
    countCharacters(state, html.toUtf8().size());
}

void rtfRead(benchmark::State& state)
{
    const QByteArray rtf = RtfWriter::write(sample());
    QTextDocument target;
    target.setDefaultFont(sample().defaultFont());
    RtfReader reader;
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.read(rtf, &target));
    if (target.characterCount() != sample().characterCount())
        state.SkipWithError("the read document differs from the written one");
    countCharacters(state, rtf.size());
}

void htmlRead(benchmark::State& state)
{
    const QString html = sample().toHtml();
    QTextDocument target;
    target.setDefaultFont(sample().defaultFont());
    for (auto _ : state)
        target.setHtml(html);
    countCharacters(state, html.toUtf8().size());
}

// Writing a format and reading it back through DocumentFormats, as Save and Open do.
void formatWrite(benchmark::State& state, const DocumentFormats::Format& format)
{
    QByteArray written;
    for (auto _ : state) {
        written = format.write(sample(), {});
        benchmark::DoNotOptimize(written.data());
    }
    countCharacters(state, written.size());
}

void formatRead(benchmark::State& state, const DocumentFormats::Format& format)
{
    const QByteArray written = format.write(sample(), {});
    qsizetype characters = 0;
    for (auto _ : state) {
        const DocumentFormats::Read read = format.read(written, {});
        characters = read.document ? read.document->characterCount() : 0;
    }
    if (characters != sample().characterCount())
        state.SkipWithError("the read document differs from the written one");
    countCharacters(state, written.size());
}

void docxWrite(benchmark::State& state)
{
    formatWrite(state, DocumentFormats::docx());
}

void docxRead(benchmark::State& state)
{
    formatRead(state, DocumentFormats::docx());
}

void odtWrite(benchmark::State& state)
{
    formatWrite(state, DocumentFormats::odt());
}

void odtRead(benchmark::State& state)
{
    formatRead(state, DocumentFormats::odt());
}

// The floor for any reader that fills a QTextDocument: the same paragraphs, runs, pictures and
// lists put into target through one cursor in one edit block, with nothing to decode.
void buildAgain(const QTextDocument& source, QTextDocument& target)
{
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    std::map<const QTextList*, QTextList*> lists;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        // A list item's format names its list in the source; the list is made here anew.
        QTextBlockFormat format = block.blockFormat();
        format.clearProperty(QTextFormat::ObjectIndex);
        if (block != source.begin())
            cursor.insertBlock(format, block.charFormat());
        else
            cursor.setBlockFormat(format);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                cursor.insertImage(fragment.charFormat().toImageFormat());
            else
                cursor.insertText(fragment.text(), fragment.charFormat());
        }
        if (const QTextList* list = block.textList()) {
            QTextList*& made = lists[list];
            if (made)
                made->add(cursor.block());
            else
                made = cursor.createList(list->format());
        }
    }
    cursor.endEditBlock();
}

void cursorBuild(benchmark::State& state)
{
    QTextDocument target;
    target.setDefaultFont(sample().defaultFont());
    for (auto _ : state)
        buildAgain(sample(), target);
    if (target.characterCount() != sample().characterCount())
        state.SkipWithError("the built document differs from the sample");
    countCharacters(state, RtfWriter::write(sample()).size());
}

// A peer's sample file with its body repeated until the file holds at least targetBytes.
QByteArray peerFile(const QString& name, qsizetype targetBytes)
{
    QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(u"../tests/rtf/data/"_qs + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", qPrintable(file.fileName()));
    const QByteArray data = file.readAll();
    // The body starts at the paragraph holding the samples' first words and runs to the
    // document's closing brace.
    qsizetype start = data.lastIndexOf("\\pard", data.indexOf("Plain start"));
    if (start > 0 && data.at(start - 1) == '{')
        --start;
    const qsizetype end = data.lastIndexOf('}');
    const QByteArray body = data.mid(start, end - start);
    QByteArray out = data.left(start);
    out.reserve(targetBytes + data.size());
    while (out.size() < targetBytes)
        out += body;
    return out + '}';
}

struct PeerSample
{
    QByteArray rtf;
    QString html;
    QTextDocument document;
};

PeerSample& peerSample(const QString& name)
{
    static std::map<QString, PeerSample> samples;
    PeerSample& sample = samples[name];
    if (sample.rtf.isEmpty()) {
        sample.rtf = peerFile(name, 5'000'000);
        sample.document.setDefaultFont(BlankDocument::defaultFont());
        RtfReader().read(sample.rtf, &sample.document);
        sample.html = sample.document.toHtml();
    }
    return sample;
}

// Rates here count the file's own bytes; the counter shows the document's characters.
void countPeer(benchmark::State& state, const PeerSample& sample, qsizetype bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["characters_M"] = double(sample.document.characterCount()) / 1e6;
}

void peerRtfRead(benchmark::State& state, const QString& name)
{
    PeerSample& sample = peerSample(name);
    QTextDocument target;
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfReader().read(sample.rtf, &target));
    countPeer(state, sample, sample.rtf.size());
}

void peerHtmlRead(benchmark::State& state, const QString& name)
{
    PeerSample& sample = peerSample(name);
    QTextDocument target;
    for (auto _ : state)
        target.setHtml(sample.html);
    countPeer(state, sample, sample.html.toUtf8().size());
}

void peerCursorBuild(benchmark::State& state, const QString& name)
{
    PeerSample& sample = peerSample(name);
    QTextDocument target;
    for (auto _ : state)
        buildAgain(sample.document, target);
    countPeer(state, sample, sample.rtf.size());
}

void peerRtfWrite(benchmark::State& state, const QString& name)
{
    PeerSample& sample = peerSample(name);
    QByteArray rtf;
    for (auto _ : state) {
        rtf = RtfWriter::write(sample.document);
        benchmark::DoNotOptimize(rtf.data());
    }
    countPeer(state, sample, rtf.size());
}

// Word's and OpenDocument's writers on a peer's document, mostly in one font as a real one is.
void peerFormatWrite(benchmark::State& state, const QString& name,
                     const DocumentFormats::Format& format)
{
    PeerSample& sample = peerSample(name);
    QByteArray written;
    for (auto _ : state) {
        written = format.write(sample.document, {});
        benchmark::DoNotOptimize(written.data());
    }
    countPeer(state, sample, written.size());
}

void peerHtmlWrite(benchmark::State& state, const QString& name)
{
    PeerSample& sample = peerSample(name);
    QString html;
    for (auto _ : state) {
        html = sample.document.toHtml();
        benchmark::DoNotOptimize(html.data());
    }
    countPeer(state, sample, html.toUtf8().size());
}

void rtfRead100MB(benchmark::State& state)
{
    const QByteArray rtf = peerFile(QStringLiteral("libreoffice-writer.rtf"), 100'000'000);
    for (auto _ : state) {
        QTextDocument target;
        benchmark::DoNotOptimize(RtfReader().read(rtf, &target));
        state.counters["characters_M"] = double(target.characterCount()) / 1e6;
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void registerPeerBenchmarks()
{
    for (const char* peer : {"libreoffice-writer", "pandoc", "abiword"}) {
        const QString file = QString::fromLatin1(peer) + u".rtf"_qs;
        const std::string name(peer);
        benchmark::RegisterBenchmark((name + "/rtfRead").c_str(), peerRtfRead, file)
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/cursorBuild").c_str(), peerCursorBuild, file)
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/htmlRead").c_str(), peerHtmlRead, file)
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/rtfWrite").c_str(), peerRtfWrite, file)
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/htmlWrite").c_str(), peerHtmlWrite, file)
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/docxWrite").c_str(), peerFormatWrite, file,
                                     DocumentFormats::docx())
            ->Apply(inMilliseconds);
        benchmark::RegisterBenchmark((name + "/odtWrite").c_str(), peerFormatWrite, file,
                                     DocumentFormats::odt())
            ->Apply(inMilliseconds);
    }
    benchmark::RegisterBenchmark("libreoffice-writer/rtfRead100MB", rtfRead100MB)
        ->Apply(inMilliseconds)
        ->Iterations(1);
}

} // namespace

BENCHMARK(rtfWrite)->Apply(inMilliseconds);
BENCHMARK(htmlWrite)->Apply(inMilliseconds);
BENCHMARK(rtfRead)->Apply(inMilliseconds);
BENCHMARK(cursorBuild)->Apply(inMilliseconds);
BENCHMARK(htmlRead)->Apply(inMilliseconds);
BENCHMARK(docxWrite)->Apply(inMilliseconds);
BENCHMARK(docxRead)->Apply(inMilliseconds);
BENCHMARK(odtWrite)->Apply(inMilliseconds);
BENCHMARK(odtRead)->Apply(inMilliseconds);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerPeerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
