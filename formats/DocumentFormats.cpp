#include "formats/DocumentFormats.h"

#include "formats/AtomicFile.h"
#include "formats/BlankDocument.h"
#include "formats/ParagraphDirection.h"
#include "formats/rtf/RtfDocumentCache.h"
#include "formats/rtf/RtfReader.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace {

DocumentFormats::Read readRtf(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    read.document.reset(BlankDocument::create());
    RtfReader reader;
    if (!reader.read(data, read.document.get(), progress)) {
        read.document.reset();
        read.error = reader.errorString();
        return read;
    }
    read.losses = reader.losses();
    // Filled without a layout, the document says nothing of what came in: look at all of it.
    ParagraphDirection::follow(*read.document);
    return read;
}

// The editor asks for its document's RTF after every keystroke, so it is kept up to date with
// the document rather than written whole each time.
QByteArray writeRtf(QTextDocument& document, const Progress& progress)
{
    return RtfDocumentCache::of(document).rtf(progress);
}

} // namespace

const DocumentFormats::Format& DocumentFormats::rtf()
{
    static const Format format{QStringLiteral("RTF"),
                               {QStringLiteral("rtf"), QStringLiteral("doc")},
                               &RtfReader::isRtf,
                               &readRtf,
                               &writeRtf};
    return format;
}

const DocumentFormats::Format& DocumentFormats::forFile(QByteArrayView data,
                                                        const QString& fileName)
{
    const Format* formats[] = {&rtf()};
    for (const Format* format : formats)
        if (format->recognises(data))
            return *format;
    const QString extension = QFileInfo(fileName).suffix().toLower();
    for (const Format* format : formats)
        if (format->extensions.contains(extension))
            return *format;
    return rtf();
}

bool DocumentFormats::isRtf(QStringView text)
{
    constexpr qsizetype enough = 64;
    return rtf().recognises(text.left(enough).toUtf8());
}

DocumentFormats::Read DocumentFormats::readFile(const QString& path, const Progress& progress)
{
    QFile file(path);
    QByteArray data;
    if (file.open(QIODevice::ReadOnly))
        data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Read failed;
        failed.error = file.errorString();
        return failed;
    }
    const Format& format = forFile(data, path);
    Read read = format.read(data, progress);
    read.format = &format;
    return read;
}

bool DocumentFormats::writeFile(const QString& path, QTextDocument& document, const Format& format,
                                QString* errorString, const Progress& progress)
{
    return AtomicFile::write(path, {format.write(document, progress)}, errorString);
}
