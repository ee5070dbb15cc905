// libFuzzer target: the RTF reader must survive any bytes, and whatever it reads must write,
// read back and write again to the same bytes.
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"

#include <QCoreApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Documents are only read and written, never laid out, so a core application is enough.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    RtfReader reader;
    if (!reader.read(input, &document))
        return 0;
    const QByteArray first = RtfWriter::write(document);
    QTextDocument again;
    if (!RtfReader().read(first, &again))
        std::abort();
    const QByteArray second = RtfWriter::write(again);
    if (first != second) {
        std::fprintf(stderr, "round trip changed the written RTF:\n%s\n---\n%s\n",
                     first.constData(), second.constData());
        std::abort();
    }
    return 0;
}
