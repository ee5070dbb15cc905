#include "editing/ClipboardFormats.h"

#include "formats/DocumentFormats.h"
#include "formats/HtmlFormat.h"
#include "formats/base/ParagraphPieces.h"

#include <QFont>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

// Other programs name RTF in all three ways; the content decides whether it is RTF.
const char* const rtfTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

ClipboardFormats::Paste fromHtml(const QString& markup, const QFont& defaultFont)
{
    QTextDocument html;
    html.setDefaultFont(defaultFont);
    HtmlFormat::fill(html, markup);
    return {QString::fromLatin1(DocumentFormats::rtf().write(html, {})), {}};
}

} // namespace

QMimeData* ClipboardFormats::forCopy(const QString& rtf, const QTextDocumentFragment& selection,
                                     const QFont& defaultFont)
{
    auto* data = new QMimeData;
    data->setText(rtf);
    if (rtf.isEmpty())
        return data;
    data->setData(QLatin1String(rtfTypes[0]), rtf.toLatin1());
    QTextDocument html;
    html.setDefaultFont(defaultFont);
    QTextCursor(&html).insertFragment(selection);
    ParagraphPieces::join(html);
    data->setHtml(html.toHtml());
    return data;
}

ClipboardFormats::Paste ClipboardFormats::forPaste(const QMimeData* clipboard,
                                                   const QFont& defaultFont)
{
    if (!clipboard)
        return {};
    const QString text = clipboard->text();
    if (DocumentFormats::isRtf(text))
        return {text, {}};
    for (const char* type : rtfTypes) {
        // RTF is 7-bit text; Latin-1 keeps any stray byte as it is.
        const QString rtf = QString::fromLatin1(clipboard->data(QLatin1String(type)));
        if (DocumentFormats::isRtf(rtf))
            return {rtf, {}};
    }
    if (clipboard->hasHtml())
        return fromHtml(clipboard->html(), defaultFont);
    return {text, {}};
}
