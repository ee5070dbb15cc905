#include "app/ConvertCommand.h"

#include "formats/DocumentFormats.h"
#include "platform/DocumentPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>
#include <QTextStream>

#include <cstring>

namespace {

const QString s_option = QStringLiteral("--convert-to");

QStringList writtenExtensions()
{
    QStringList extensions;
    for (const DocumentFormats::Format* format : DocumentFormats::all())
        extensions << format->extensions;
    return extensions;
}

} // namespace

bool ConvertCommand::isRequested(int argc, char* argv[])
{
    for (int index = 1; index < argc; ++index)
        if (std::strcmp(argv[index], "--convert-to") == 0)
            return true;
    return false;
}

std::optional<ConvertCommand> ConvertCommand::parse(const QStringList& arguments)
{
    if (!arguments.contains(s_option))
        return std::nullopt;
    ConvertCommand command;
    command.m_outDir = QDir::currentPath();
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if ((argument == s_option || argument == QLatin1String("--outdir")) &&
            index + 1 < arguments.size())
            (argument == s_option ? command.m_format : command.m_outDir) = arguments[++index];
        else
            command.m_files.append(argument);
    }
    if (command.m_format != QLatin1String("pdf") &&
        !DocumentFormats::forExtension(command.m_format))
        command.m_usageError = QStringLiteral("--convert-to takes %1 or pdf")
                                   .arg(writtenExtensions().join(QLatin1String(", ")));
    else if (command.m_files.isEmpty())
        command.m_usageError = QStringLiteral("no files to convert");
    return command;
}

int ConvertCommand::run(QTextStream& errors) const
{
    if (!m_usageError.isEmpty()) {
        errors << "quillmere: " << m_usageError << '\n';
        return 2;
    }
    if (!QDir().mkpath(m_outDir)) {
        errors << m_outDir << ": cannot make this folder\n";
        return 1;
    }
    int result = 0;
    QStringList written;
    for (const QString& file : m_files) {
        if (const QString error = convert(file, written); !error.isEmpty()) {
            errors << file << ": " << error << '\n';
            result = 1;
        }
    }
    errors.flush();
    return result;
}

QString ConvertCommand::convert(const QString& file, QStringList& written) const
{
    DocumentFormats::Read read = DocumentFormats::readFile(file);
    if (!read.document)
        return read.error;
    const QString path =
        QDir(m_outDir).filePath(QFileInfo(file).completeBaseName() + u'.' + m_format);
    // Written over itself, a file would lose for good whatever reading could not keep.
    if (QFileInfo(path) == QFileInfo(file))
        return QStringLiteral("would be written over itself; give another --outdir");
    // Files of one name from several folders, or in several formats, would end as the last.
    if (written.contains(QFileInfo(path).absoluteFilePath()))
        return QStringLiteral("would be written over %1, converted from another file of the "
                              "same name; convert it apart")
            .arg(path);
    written << QFileInfo(path).absoluteFilePath();
    const QString error = writeTo(path, *read.document);
    return error.isEmpty() ? error : QStringLiteral("cannot write %1: %2").arg(path, error);
}

QString ConvertCommand::writeTo(const QString& path, QTextDocument& document) const
{
    QString error;
    if (const DocumentFormats::Format* format = DocumentFormats::forExtension(m_format)) {
        DocumentFormats::writeFile(path, document, *format, &error);
        return error;
    }
    // Asked first, so a file that cannot be written gets the system's reason.
    if (QFile probe(path); !probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return DocumentPrinter::print(document, &printer) ? QString()
                                                      : QStringLiteral("printing failed");
}
