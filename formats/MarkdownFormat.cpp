#include "formats/MarkdownFormat.h"

#include "formats/BlankDocument.h"
#include "formats/DocumentFeatures.h"
#include "formats/PlainTextFormat.h"

#include <QRegularExpression>
#include <QTextDocument>

bool MarkdownFormat::recognises(QByteArrayView data)
{
    return PlainTextFormat::recognises(data);
}

DocumentFormats::Read MarkdownFormat::read(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    const std::optional<QString> markdown = PlainTextFormat::text(data);
    if (!markdown) {
        read.error = PlainTextFormat::notText();
        return read;
    }
    read.document.reset(BlankDocument::create());
    read.document->setMarkdown(*markdown, QTextDocument::MarkdownDialectGitHub);
    if (progress)
        progress(1, 1);
    return read;
}

QByteArray MarkdownFormat::write(QTextDocument& document, const Progress& progress)
{
    QString markdown = document.toMarkdown(QTextDocument::MarkdownDialectGitHub);
    // Qt writes a table's rule as "|-|-|", which its own reader, as others, takes for text.
    static const QRegularExpression rule(QStringLiteral(R"(^\|[-:|]*-[-:|]*\|$)"));
    static const QRegularExpression dash(QStringLiteral("(?<!-)-(?!-)"));
    QStringList lines = markdown.split(u'\n');
    for (QString& line : lines)
        if (rule.match(line).hasMatch())
            line.replace(dash, QStringLiteral("---"));
    markdown = lines.join(u'\n');
    if (progress)
        progress(1, 1);
    return markdown.toUtf8();
}

QStringList MarkdownFormat::losses(const QTextDocument& document)
{
    using Feature = DocumentFeatures::Feature;
    const DocumentFeatures::Features kept =
        Feature::Emphasis | Feature::Links | Feature::Lists | Feature::Tables;
    return DocumentFeatures::names(DocumentFeatures::of(document) & ~kept);
}
