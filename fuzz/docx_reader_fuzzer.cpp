// libFuzzer target: the Word reader must survive any bytes, and whatever it reads must write a
// package that reads back. Bytes that do not start as a zip are the body part of a package made
// around them, so the fuzzer reaches the XML as well as the zip.
#include "formats/docx/DocxPackage.h"
#include "formats/docx/DocxReader.h"
#include "formats/docx/DocxWriter.h"

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
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!input.startsWith("PK"))
        input = DocxPackage::zip(
            {{QStringLiteral("_rels/.rels"),
              "<Relationships><Relationship Id='r' Type='http://schemas.openxmlformats.org/"
              "officeDocument/2006/relationships/officeDocument' Target='word/document.xml'/>"
              "</Relationships>"},
             {QStringLiteral("word/document.xml"), input}});
    QTextDocument document;
    if (!DocxReader().read(input, &document))
        return 0;
    const RtfPage page{{12240, 15840, 1800, 1800, 1440, 1440}, (1u << RtfPage::lengthCount) - 1};
    const QByteArray written = DocxWriter::write(document, page);
    QTextDocument again;
    DocxReader reader;
    if (!reader.read(written, &again)) {
        std::fprintf(stderr, "what was written does not read: %s\n",
                     qPrintable(reader.errorString()));
        std::abort();
    }
    return 0;
}
