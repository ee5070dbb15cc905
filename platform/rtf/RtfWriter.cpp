#include "platform/rtf/RtfWriter.h"

#include "platform/rtf/RtfDocumentWriter.h"

QByteArray RtfWriter::write(const QTextDocument& document)
{
    return RtfDocumentWriter(document).write();
}
