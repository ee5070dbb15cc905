#include "formats/rtf/RtfWriter.h"

#include "formats/rtf/RtfDocumentWriter.h"

QByteArray RtfWriter::write(const QTextDocument& document)
{
    return RtfDocumentWriter(document).write();
}
