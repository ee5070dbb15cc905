#include "platform/rtf/RtfReader.h"

#include "platform/rtf/RtfParser.h"

#include <QCoreApplication>
#include <QTextDocument>

namespace {

// Where the document's opening brace is, or -1 when data does not start like RTF.
qsizetype rtfStart(QByteArrayView data)
{
    static constexpr QByteArrayView s_utf8Bom("\xEF\xBB\xBF");
    qsizetype start = data.startsWith(s_utf8Bom) ? s_utf8Bom.size() : 0;
    while (start < data.size() && QChar::isSpace(uchar(data[start])))
        ++start;
    return data.sliced(start).startsWith("{\\rtf") ? start : -1;
}

} // namespace

bool RtfReader::read(const QByteArray& data, QTextDocument* document)
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
    RtfParser parser(QByteArrayView(data).sliced(start), document);
    parser.parse();
    m_losses = parser.losses();
    return true;
}

QString RtfReader::errorString() const
{
    return m_errorString;
}
