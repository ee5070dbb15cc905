// libFuzzer target for one format's reader, named by QUILLMERE_FUZZ_FORMAT: it must survive any
// bytes, and whatever it reads must write in the same format and read back.
#include "formats/DocumentFormats.h"

#include <QCoreApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace {

const DocumentFormats::Format& format()
{
    static const DocumentFormats::Format* const named =
        DocumentFormats::named(QStringLiteral(QUILLMERE_FUZZ_FORMAT));
    if (!named) {
        std::fprintf(stderr, "no format named %s\n", QUILLMERE_FUZZ_FORMAT);
        std::abort();
    }
    return *named;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Documents are only read and written, never laid out, so a core application is enough.
    static QCoreApplication app(*argc, *argv);
    format();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const DocumentFormats::Read read = format().read(input, {});
    if (!read.document)
        return 0;
    const QByteArray written = format().write(*read.document, {});
    const DocumentFormats::Read again = format().read(written, {});
    if (!again.document) {
        std::fprintf(stderr, "what was written does not read back: %s\n", qPrintable(again.error));
        std::abort();
    }
    return 0;
}
