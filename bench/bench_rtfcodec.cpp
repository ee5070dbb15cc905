// Reading and writing a ~5 MB mixed-format document as RTF, against Qt's own HTML on the same
// document. Bytes per second count the document's characters, so all four rates compare directly.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <benchmark/benchmark.h>

#include <array>

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
    auto* document = new QTextDocument;
    document->setDefaultFont(QFont(QStringLiteral("Fixedsys"), 9));
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

const QTextDocument& sample()
{
    static const QTextDocument* document = makeDocument();
    return *document;
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

} // namespace

BENCHMARK(rtfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(htmlWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(rtfRead)->Unit(benchmark::kMillisecond);
BENCHMARK(htmlRead)->Unit(benchmark::kMillisecond);

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
