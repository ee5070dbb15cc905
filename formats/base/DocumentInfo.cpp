#include "formats/base/DocumentInfo.h"

#include <QTextDocument>
#include <QTextFrame>

namespace {

enum Property {
    Title = QTextFormat::UserProperty + 0x5300,
    Author,
};

void keep(QTextFrameFormat& format, int property, const QString& value)
{
    if (value.isEmpty())
        format.clearProperty(property);
    else
        format.setProperty(property, value);
}

} // namespace

DocumentInfo DocumentInfo::of(const QTextDocument& document)
{
    const QTextFrameFormat format = document.rootFrame()->frameFormat();
    return {format.stringProperty(Title), format.stringProperty(Author)};
}

void DocumentInfo::keepIn(QTextDocument& document) const
{
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    keep(format, Title, title);
    keep(format, Author, author);
    document.rootFrame()->setFrameFormat(format);
}
