// quillmere-rtf: looks at RTF the way the program's codec reads and writes it.
//   quillmere-rtf dump FILE        prints FILE's paragraphs and runs as JSON
//   quillmere-rtf build FILE.json  prints the RTF the program writes for that JSON
#include "formats/BlankDocument.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "tools/rtf/DocumentJson.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextDocument>

#include <cstdio>
#include <memory>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "quillmere-rtf: %s\n", qPrintable(message));
    return 1;
}

bool readFile(const QString& path, QByteArray* data, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    *data = file.readAll();
    return true;
}

void print(const QByteArray& data)
{
    std::fwrite(data.constData(), 1, size_t(data.size()), stdout);
}

int dump(const QString& path)
{
    QByteArray data;
    QString error;
    if (!readFile(path, &data, &error))
        return fail(error);
    // The editor's own, so runs without an explicit font read as they do in the program.
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    RtfReader reader;
    if (!reader.read(data, document.get()))
        return fail(QStringLiteral("%1: %2").arg(path, reader.errorString()));
    print(DocumentJson::toJson(*document) + '\n');
    return 0;
}

int build(const QString& path)
{
    QByteArray data;
    QString error;
    if (!readFile(path, &data, &error))
        return fail(error);
    const std::unique_ptr<QTextDocument> document(BlankDocument::create());
    if (!DocumentJson::fromJson(data, document.get(), &error))
        return fail(QStringLiteral("%1: %2").arg(path, error));
    print(RtfWriter::write(*document));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Documents are only read and written here, never laid out, so no GUI platform is needed.
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("dump"))
        return dump(arguments.at(2));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("build"))
        return build(arguments.at(2));
    return fail(QStringLiteral("usage: quillmere-rtf dump FILE | build FILE.json"));
}
