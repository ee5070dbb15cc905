#pragma once

#include "formats/base/PartDeflater.h"
#include "formats/base/Progress.h"
#include "formats/odt/OdtPage.h"

#include <QByteArray>

class OdtAutoStyles;
class QTextDocument;
class XmlWriter;
struct OdtPictures;

/// Writes a QTextDocument as an OpenDocument text package: content, styles with the page and
/// its headers and footers, title and author, pictures, and the manifest naming them.
class OdtWriter
{
public:
    OdtWriter(const QTextDocument& document, const OdtPage& page);

    /// The package's bytes; empty when the zip library failed. progress hears the paragraphs
    /// written now and then and may cancel.
    QByteArray write(const Progress& progress = {});

private:
    DeflatedPart content(OdtPictures& pictures, const Progress& progress);
    QByteArray styles(OdtPictures& pictures);
    QByteArray masterStyles(OdtAutoStyles& styles, OdtPictures& pictures);
    void writeStory(XmlWriter& xml, const char* element, const QByteArray& rtf,
                    OdtAutoStyles& styles, OdtPictures& pictures);
    void writeDefaults(XmlWriter& xml);
    void writePageLayout(XmlWriter& xml);
    QByteArray meta();
    QByteArray manifest(const OdtPictures& pictures);

    const QTextDocument& m_document;
    OdtPage m_page;
};
