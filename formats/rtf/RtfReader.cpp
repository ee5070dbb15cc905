#include "formats/rtf/RtfReader.h"

#include "formats/base/BuildSteps.h"
#include "formats/rtf/RtfDocumentBuilder.h"
#include "formats/rtf/RtfParser.h"

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

RtfReader::Findings readRtf(QByteArrayView rtf, RtfDocumentBuilder& builder,
                            const Progress& progress)
{
    BuildSteps steps;
    RtfReader::Findings found;
    // Qt's share of a read and ours are about equal, so building the document on one thread
    // while another reads the RTF nearly halves the time a large file takes to open.
    steps.readInParallel(
        [&](const Progress& told) {
            RtfParser parser(rtf, [&](RtfBuildChunk& chunk) {
                steps.post([&builder, chunk = std::move(chunk)] { builder.apply(chunk); });
                steps.handOver();
            });
            parser.parse(told);
            found = {parser.losses(), parser.page()};
        },
        progress, rtf.size());
    return found;
}

} // namespace

bool RtfReader::isRtf(QByteArrayView data)
{
    return rtfStart(data) >= 0;
}

bool RtfReader::read(const QByteArray& data, QTextDocument* document, const Progress& progress)
{
    m_errorString.clear();
    m_read = {};
    const qsizetype start = rtfStart(data);
    if (!document || start < 0) {
        m_errorString = document
                            ? QCoreApplication::translate("RtfReader", "not an RTF document")
                            : QCoreApplication::translate("RtfReader", "no document to read into");
        return false;
    }
    const QByteArrayView rtf = QByteArrayView(data).sliced(start);
    RtfDocumentBuilder builder(document);
    m_read = readRtf(rtf, builder, progress);
    return true;
}

QString RtfReader::errorString() const
{
    return m_errorString;
}
