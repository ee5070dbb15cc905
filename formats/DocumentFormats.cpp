#include "formats/DocumentFormats.h"

#include "formats/AtomicFile.h"
#include "formats/BlankDocument.h"
#include "formats/DocumentFeatures.h"
#include "formats/HtmlFormat.h"
#include "formats/MarkdownFormat.h"
#include "formats/PageSetup.h"
#include "formats/ParagraphDirection.h"
#include "formats/PlainTextFormat.h"
#include "formats/base/ParagraphPieces.h"
#include "formats/docx/DocxReader.h"
#include "formats/docx/DocxWriter.h"
#include "formats/odt/OdtReader.h"
#include "formats/odt/OdtWriter.h"
#include "formats/rtf/RtfDocumentCache.h"
#include "formats/rtf/RtfReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough of a file's start for any format to tell whether the file is its own.
constexpr qint64 s_headSize = 4096;
// Bytes loaded between two reports of progress.
constexpr qint64 s_loadStep = 1 << 20;
// Loading the bytes takes a small share of the time that turning them into a document takes.
constexpr int s_loadingShare = 10;

QString tr(const char* text)
{
    return QCoreApplication::translate("DocumentFormats", text);
}

// Why a file with this status is not read, or nothing when it may be.
QString refusal(const struct stat& status)
{
    if (S_ISDIR(status.st_mode))
        return tr("it is a folder, not a document");
    if (S_ISFIFO(status.st_mode))
        return tr("it is a pipe, which a program writes into as it runs, not a document kept "
                  "on disk. Save what the program gives to a file, and open that");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return tr("it is a device, not a document kept on disk");
    if (!S_ISREG(status.st_mode))
        return tr("it is not a document kept on disk");
    if (status.st_size > DocumentFormats::largestFile()) {
        const QLocale locale;
        const auto size = [&](qint64 bytes) {
            return locale.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
        };
        return tr("it is %1, and a document takes many times the size of its file in memory: "
                  "this computer has room for files up to %2. Split it into smaller documents "
                  "in the program that made it")
            .arg(size(status.st_size), size(DocumentFormats::largestFile()));
    }
    return {};
}

// Opens the file at path into file with its status, or says why it is not read. A pipe would
// block the opening until some program wrote into it, so nothing waits here, and only a regular
// file is kept.
QString openRegular(const QString& path, QFile& file, struct stat& status)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    QString error = fstat(fd, &status) == 0 ? refusal(status) : qt_error_string(errno);
    if (error.isEmpty() &&
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        error = file.errorString();
    if (!file.isOpen())
        ::close(fd);
    return error;
}

// Loads the rest of file after the head already in data, and hashes it; false with the
// system's reason.
bool loadRest(QFile& file, QByteArray& data, QCryptographicHash& hash, const Progress& progress,
              QString* error)
{
    // What the file held when it was opened; a file that grows meanwhile is read to that size.
    const qint64 total = std::max(file.size(), qint64(data.size()));
    qint64 done = data.size();
    data.resize(total);
    while (done < total) {
        const qint64 got = file.read(data.data() + done, std::min(s_loadStep, total - done));
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        hash.addData(QByteArrayView(data.constData() + done, got));
        done += got;
        if (progress)
            progress(done, total);
    }
    data.truncate(done);
    return true;
}

// In the order of RtfPage::Length.
constexpr std::array<int PageSetup::*, RtfPage::lengthCount> s_pageLengths = {
    &PageSetup::paperWidth,  &PageSetup::paperHeight, &PageSetup::marginLeft,
    &PageSetup::marginRight, &PageSetup::marginTop,   &PageSetup::marginBottom};

// What a file leaves out of its page is RTF's default; a file silent on its page keeps none.
void keepPage(const RtfPage& page, QTextDocument& document)
{
    if (!page.saysAnything())
        return;
    PageSetup setup;
    for (int length = 0; length < RtfPage::lengthCount; ++length) {
        if (page.isGiven(length))
            setup.*s_pageLengths[size_t(length)] = page.lengths[size_t(length)];
    }
    setup.landscape = page.landscape;
    setup.keepIn(document);
}

// The page a document keeps, every length given; a document that keeps none is on the paper of
// the writer's country.
RtfPage fullPageOf(const QTextDocument& document)
{
    RtfPage page;
    const PageSetup setup = PageSetup::of(document);
    for (int length = 0; length < RtfPage::lengthCount; ++length)
        page.lengths[size_t(length)] = setup.*s_pageLengths[size_t(length)];
    page.given = (1u << RtfPage::lengthCount) - 1;
    page.landscape = setup.landscape;
    return page;
}

RtfPage pageOf(const QTextDocument& document)
{
    return PageSetup::isKeptIn(document) ? fullPageOf(document) : RtfPage();
}

// Reads data with a reader of RTF's kind: into a new document, with what it lost and its page.
template <typename Reader>
DocumentFormats::Read readWith(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    read.document.reset(BlankDocument::create());
    Reader reader;
    if (!reader.read(data, read.document.get(), progress)) {
        read.document.reset();
        read.error = reader.errorString();
        return read;
    }
    read.losses = reader.losses();
    keepPage(reader.page(), *read.document);
    // Filled without a layout, the document says nothing of what came in: look at all of it.
    ParagraphDirection::follow(*read.document);
    return read;
}

// The editor asks for its document's RTF after every keystroke, so it is kept up to date with
// the document rather than written whole each time.
QByteArray writeRtf(QTextDocument& document, const Progress& progress)
{
    return RtfDocumentCache::of(document).rtf(progress, pageOf(document));
}

DocumentFormats::Read readOdt(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    read.document.reset(BlankDocument::create());
    OdtReader reader;
    if (!reader.read(data, *read.document, progress)) {
        read.document.reset();
        read.error = reader.errorString();
        return read;
    }
    if (const std::optional<OdtPage> page = reader.page()) {
        PageSetup setup;
        for (size_t length = 0; length < s_pageLengths.size(); ++length)
            setup.*s_pageLengths[length] = qRound(page->lengths[length]);
        setup.landscape = page->landscape;
        setup.keepIn(*read.document);
    }
    ParagraphDirection::follow(*read.document);
    return read;
}

QByteArray writeOdt(QTextDocument& document, const Progress& progress)
{
    const PageSetup setup = PageSetup::of(document);
    OdtPage page;
    for (size_t length = 0; length < s_pageLengths.size(); ++length)
        page.lengths[length] = setup.*s_pageLengths[length];
    page.landscape = setup.landscape;
    return OdtWriter(document, page).write(progress);
}

// ODT has no place for hidden text.
QStringList odtLosses(const QTextDocument& document)
{
    return DocumentFeatures::names(DocumentFeatures::of(document) & DocumentFeatures::HiddenText);
}

QByteArray writeDocx(QTextDocument& document, const Progress& progress)
{
    // Word files always say their page.
    return DocxWriter::write(document, fullPageOf(document), progress);
}

// The editor holds a long paragraph in pieces, which the RTF writer writes as one; the other
// formats write a copy made whole.
template <QByteArray (*write)(QTextDocument&, const Progress&)>
QByteArray whole(QTextDocument& document, const Progress& progress)
{
    if (!ParagraphPieces::anyIn(document))
        return write(document, progress);
    const std::unique_ptr<QTextDocument> copy(document.clone());
    ParagraphPieces::join(*copy);
    return write(*copy, progress);
}

} // namespace

const DocumentFormats::Format& DocumentFormats::rtf()
{
    static const Format format{QStringLiteral("RTF"),
                               tr("Rich Text Format"),
                               {QStringLiteral("doc"), QStringLiteral("rtf")},
                               &RtfReader::isRtf,
                               true,
                               &readWith<RtfReader>,
                               &writeRtf};
    return format;
}

const DocumentFormats::Format& DocumentFormats::odt()
{
    static const Format format{QStringLiteral("ODT"),
                               tr("OpenDocument Text"),
                               {QStringLiteral("odt")},
                               &OdtReader::isOdt,
                               true,
                               &readOdt,
                               &whole<&writeOdt>,
                               &odtLosses};
    return format;
}

const DocumentFormats::Format& DocumentFormats::docx()
{
    static const Format format{QStringLiteral("DOCX"),
                               tr("Word Document"),
                               {QStringLiteral("docx")},
                               &DocxReader::recognises,
                               true,
                               &readWith<DocxReader>,
                               &whole<&writeDocx>};
    return format;
}

const DocumentFormats::Format& DocumentFormats::markdown()
{
    static const Format format{QStringLiteral("Markdown"),
                               tr("Markdown"),
                               {QStringLiteral("md")},
                               &MarkdownFormat::recognises,
                               false,
                               &MarkdownFormat::read,
                               &whole<&MarkdownFormat::write>,
                               &MarkdownFormat::losses};
    return format;
}

const DocumentFormats::Format& DocumentFormats::html()
{
    static const Format format{QStringLiteral("HTML"),
                               tr("Web Page"),
                               {QStringLiteral("html"), QStringLiteral("htm")},
                               &HtmlFormat::recognises,
                               true,
                               &HtmlFormat::read,
                               &whole<&HtmlFormat::write>,
                               &HtmlFormat::losses};
    return format;
}

const DocumentFormats::Format& DocumentFormats::plainText()
{
    static const Format format{QStringLiteral("Text"),
                               tr("Plain Text"),
                               {QStringLiteral("txt")},
                               &PlainTextFormat::recognises,
                               false,
                               &PlainTextFormat::read,
                               &whole<&PlainTextFormat::write>,
                               &PlainTextFormat::losses};
    return format;
}

const QList<const DocumentFormats::Format*>& DocumentFormats::all()
{
    static const QList<const Format*> formats{&rtf(),      &odt(),  &docx(),
                                              &markdown(), &html(), &plainText()};
    return formats;
}

const DocumentFormats::Format* DocumentFormats::named(QStringView name)
{
    for (const Format* format : all())
        if (format->name.compare(name, Qt::CaseInsensitive) == 0)
            return format;
    return nullptr;
}

const DocumentFormats::Format* DocumentFormats::forExtension(QStringView extension)
{
    for (const Format* format : all())
        if (format->extensions.contains(extension, Qt::CaseInsensitive))
            return format;
    return nullptr;
}

const DocumentFormats::Format& DocumentFormats::forFile(QByteArrayView data,
                                                        const QString& fileName)
{
    for (const Format* format : all())
        if (format->knownByStart && format->recognises(data))
            return *format;
    if (const Format* format = forExtension(QFileInfo(fileName).suffix()))
        return *format;
    // Notes kept without an extension, or with one of their own, are text.
    if (plainText().recognises(data))
        return plainText();
    return rtf();
}

bool DocumentFormats::isRtf(QStringView text)
{
    constexpr qsizetype enough = 64;
    return rtf().recognises(text.left(enough).toUtf8());
}

DocumentFormats::Read DocumentFormats::readFile(const QString& path, const Progress& progress)
{
    Read failed;
    QFile file;
    struct stat status = {};
    failed.error = openRegular(path, file, status);
    if (!failed.error.isEmpty())
        return failed;
    QByteArray data = file.read(s_headSize);
    if (file.error() != QFileDevice::NoError) {
        failed.error = file.errorString();
        return failed;
    }
    const Format& format = forFile(data, path);
    QCryptographicHash hash(FileStamp::algorithm);
    hash.addData(data);
    // Bytes no format knows are turned down by their start, with the reason the format gives,
    // before the rest of them takes time and memory.
    if (format.recognises(data) &&
        !loadRest(file, data, hash, progressPart(progress, 0, s_loadingShare), &failed.error))
        return failed;
    Read read = format.read(data, progressPart(progress, s_loadingShare, 100));
    read.format = &format;
    read.stamp = FileStamp(status, hash.result());
    return read;
}

qint64 DocumentFormats::largestFile()
{
    // Read from plain text, a document takes about a dozen times its RTF in memory.
    constexpr qint64 memoryPerByte = 16;
    static const qint64 memory = qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    return memory > 0 ? memory / memoryPerByte : std::numeric_limits<qint64>::max();
}

std::optional<FileStamp> DocumentFormats::writeFile(const QString& path, QTextDocument& document,
                                                    const Format& format, QString* errorString,
                                                    const Progress& progress)
{
    const QByteArray bytes = format.write(document, progress);
    if (!AtomicFile::write(path, {bytes}, errorString))
        return std::nullopt;
    return FileStamp::written(path, bytes);
}
