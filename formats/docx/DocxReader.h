#pragma once

#include "formats/base/Progress.h"
#include "formats/rtf/RtfPage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

/// Reads a Word document (.docx, Office Open XML): its body with styles resolved, lists, tables,
/// pictures, links, notes, headers and footers, page and properties. Tells apart the files that
/// look like Word's but are not read: password-protected ones and Word 97-2003 documents.
class DocxReader
{
public:
    /// Whether data starts as a Word package does, or as the compound file that protected and
    /// older Word documents are.
    static bool recognises(QByteArrayView data);
    /// Reads data into document, replacing its content; false (with errorString()) when data is
    /// no Word document this program reads, or is damaged. progress hears the body's bytes read
    /// now and then, and may cancel.
    bool read(const QByteArray& data, QTextDocument* document, const Progress& progress = {});
    QString errorString() const { return m_errorString; }
    /// What the last document held that reading could not keep, in short phrases, each once.
    QStringList losses() const { return m_losses; }
    /// The page the last document said it is printed on.
    const RtfPage& page() const { return m_page; }

private:
    QString m_errorString;
    QStringList m_losses;
    RtfPage m_page;
};
