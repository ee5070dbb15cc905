#include "formats/PlainTextFormat.h"

#include "formats/BlankDocument.h"
#include "formats/DocumentFeatures.h"
#include "formats/TextDecoding.h"
#include "formats/base/ListMarker.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

// The marker a list item shows, which QTextDocument::toPlainText() leaves out.
QString markerOf(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    return list ? ListMarker::text(block, *list) + u' ' : QString();
}

// Windows and old Macs end lines their own way, and old DOS files end with a mark of their own.
// The last line's end ends the file, not another paragraph.
QString normalised(QString text)
{
    if (text.endsWith(QChar(0x1a)))
        text.chop(1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

bool PlainTextFormat::recognises(QByteArrayView data)
{
    return TextDecoding::decode(data).has_value();
}

QString PlainTextFormat::notText()
{
    return QCoreApplication::translate("PlainTextFormat",
                                       "it is not text: it holds bytes no text file holds");
}

DocumentFormats::Read PlainTextFormat::read(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    const std::optional<QString> text = PlainTextFormat::text(data);
    if (!text) {
        read.error = notText();
        return read;
    }
    read.document.reset(BlankDocument::create());
    QTextCursor(read.document.get()).insertText(*text);
    if (progress)
        progress(1, 1);
    return read;
}

QByteArray PlainTextFormat::write(QTextDocument& document, const Progress& progress)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line = block.text();
        // Pictures and hidden text stand in the text as object characters.
        line.remove(QChar::ObjectReplacementCharacter);
        text += markerOf(block) + line.replace(QChar::LineSeparator, u'\n') + u'\n';
    }
    if (progress)
        progress(1, 1);
    return text.toUtf8();
}

QStringList PlainTextFormat::losses(const QTextDocument& document)
{
    using Feature = DocumentFeatures::Feature;
    // List markers are written as text; everything else that is not text is lost.
    const DocumentFeatures::Features kept{Feature::Lists};
    return DocumentFeatures::names(DocumentFeatures::of(document) & ~kept);
}

std::optional<QString> PlainTextFormat::text(QByteArrayView data)
{
    std::optional<QString> text = TextDecoding::decode(data);
    if (text)
        *text = normalised(std::move(*text));
    return text;
}
