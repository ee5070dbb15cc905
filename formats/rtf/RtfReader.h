#pragma once

#include "formats/base/Progress.h"
#include "formats/rtf/RtfPage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

/// Reads RTF into a QTextDocument, replacing its content.
class RtfReader
{
public:
    /// False (with errorString()) when data is not RTF at all; malformed RTF is read as far as it
    /// makes sense and returns true.
    /// progress, when given, hears the bytes read now and then, on this thread. Large data is
    /// read on a second thread while this one builds the document.
    bool read(const QByteArray& data, QTextDocument* document, const Progress& progress = {});
    QString errorString() const;
    /// Whether data starts as RTF does: a brace and \rtf, white space and a UTF-8 byte-order
    /// mark allowed around the brace.
    static bool isRtf(QByteArrayView data);
    /// What the last document held that reading could not keep, in short phrases, each once:
    /// saving the document over its file would lose these.
    QStringList losses() const { return m_read.losses; }
    /// The page the last document said it is printed on.
    const RtfPage& page() const { return m_read.page; }

    /// What reading a document found besides its content.
    struct Findings
    {
        QStringList losses;
        RtfPage page;
    };

private:
    QString m_errorString;
    Findings m_read;
};
