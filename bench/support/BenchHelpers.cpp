#include "support/BenchHelpers.h"

#include "formats/DocumentFormats.h"
#include "platform/MemoryPolicy.h"
#include "platform/RichTextBox.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

QString textOf(qsizetype size)
{
    const QString line = QStringLiteral("the quick brown fox jumps over the lazy dog %1\n");
    QString text;
    text.reserve(size + 100);
    for (int n = 0; text.size() < size; ++n)
        text += line.arg(n);
    return text;
}

bool saveDocument(RichTextBox& editor, const QString& path)
{
    QString error;
    return DocumentFormats::writeFile(path, *editor.document(), DocumentFormats::rtf(), &error)
        .has_value();
}

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

int runBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit)
{
    // Measured as the program runs.
    MemoryPolicy::apply();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}
