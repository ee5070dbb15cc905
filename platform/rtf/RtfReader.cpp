#include "platform/rtf/RtfReader.h"

#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfParser.h"

#include <QCoreApplication>
#include <QTextDocument>

namespace {

qsizetype skipSpace(QByteArrayView data, qsizetype at)
{
    while (at < data.size() && QChar::isSpace(uchar(data[at])))
        ++at;
    return at;
}

// Where the document's \rtf is, just inside its opening brace, or -1 when data does not start
// like RTF. Writers put white space and line breaks before the brace and after it.
qsizetype rtfStart(QByteArrayView data)
{
    static constexpr QByteArrayView s_utf8Bom("\xEF\xBB\xBF");
    qsizetype start = skipSpace(data, data.startsWith(s_utf8Bom) ? s_utf8Bom.size() : 0);
    if (start >= data.size() || data[start] != '{')
        return -1;
    start = skipSpace(data, start + 1);
    return data.sliced(start).startsWith("\\rtf") ? start : -1;
}

} // namespace

bool RtfReader::isRtf(QByteArrayView data)
{
    return rtfStart(data) >= 0;
}

bool RtfReader::read(const QByteArray& data, QTextDocument* document, const Progress& progress)
{
    m_errorString.clear();
    m_losses.clear();
    const qsizetype start = rtfStart(data);
    if (!document || start < 0) {
        m_errorString = document
                            ? QCoreApplication::translate("RtfReader", "not an RTF document")
                            : QCoreApplication::translate("RtfReader", "no document to read into");
        return false;
    }
    const QByteArrayView rtf = QByteArrayView(data).sliced(start);
    RtfDocumentBuilder builder(document);
    RtfParser parser(rtf, [&builder](RtfBuildChunk& chunk) { builder.apply(chunk); });
    parser.parse(progress);
    m_losses = parser.losses();
    return true;
}

QString RtfReader::errorString() const
{
    return m_errorString;
}
