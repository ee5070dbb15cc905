#include "formats/HtmlFormat.h"

#include "formats/BlankDocument.h"
#include "formats/DocumentFeatures.h"
#include "formats/HtmlNesting.h"
#include "formats/TextDecoding.h"
#include "formats/base/DocumentInfo.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

// Pages often leave a table's lines to their style sheets, which Qt does not read: such a table
// gets a thin border, so its cells still show and print apart.
void outlineTables(const QTextFrame& frame)
{
    for (QTextFrame* child : frame.childFrames()) {
        auto* table = qobject_cast<QTextTable*>(child);
        if (table && (table->format().border() <= 0 ||
                      table->format().borderStyle() == QTextFrameFormat::BorderStyle_None)) {
            QTextTableFormat format = table->format();
            format.setBorder(1);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            table->setFormat(format);
        }
        outlineTables(*child);
    }
}

// The page's own byte-order mark or charset, else what a text file would be.
std::optional<QString> decoded(QByteArrayView data)
{
    if (const auto encoding = QStringConverter::encodingForHtml(data)) {
        QStringDecoder decoder(*encoding, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(data);
        if (!decoder.hasError())
            return text;
    }
    return TextDecoding::decode(data);
}

const QRegularExpression& authorMeta()
{
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\s+name\s*=\s*["']author["']\s+content\s*=\s*["']([^"']*)["'])"),
        QRegularExpression::CaseInsensitiveOption);
    return meta;
}

} // namespace

bool HtmlFormat::recognises(QByteArrayView data)
{
    static const QRegularExpression start(
        QStringLiteral(R"(^\s*(<!--.*?-->\s*)*<(!doctype\s+html|html))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const std::optional<QString> text = decoded(data);
    return text && start.match(*text).hasMatch();
}

void HtmlFormat::fill(QTextDocument& document, QStringView markup)
{
    document.setHtml(HtmlNesting::flattened(markup));
    outlineTables(*document.rootFrame());
}

DocumentFormats::Read HtmlFormat::read(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    const std::optional<QString> markup = decoded(data);
    if (!markup) {
        read.error = QCoreApplication::translate(
            "HtmlFormat", "it is not a web page: it holds bytes no HTML file holds");
        return read;
    }
    read.document.reset(BlankDocument::create());
    fill(*read.document, *markup);
    const QRegularExpressionMatch author = authorMeta().match(*markup);
    DocumentInfo{read.document->metaInformation(QTextDocument::DocumentTitle),
                 author.hasMatch() ? author.captured(1) : QString()}
        .keepIn(*read.document);
    if (progress)
        progress(1, 1);
    return read;
}

QByteArray HtmlFormat::write(QTextDocument& document, const Progress& progress)
{
    const DocumentInfo info = DocumentInfo::of(document);
    document.setMetaInformation(QTextDocument::DocumentTitle, info.title);
    QString html = document.toHtml();
    if (!info.author.isEmpty())
        html.replace(QLatin1String("</head>"),
                     QStringLiteral("<meta name=\"author\" content=\"%1\" />\n</head>")
                         .arg(info.author.toHtmlEscaped()));
    if (progress)
        progress(1, 1);
    return html.toUtf8();
}

QStringList HtmlFormat::losses(const QTextDocument& document)
{
    using Feature = DocumentFeatures::Feature;
    const DocumentFeatures::Features lost =
        Feature::Pictures | Feature::HiddenText | Feature::PageLayout | Feature::Notes;
    return DocumentFeatures::names(DocumentFeatures::of(document) & lost);
}
