#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <limits>
#include <vector>

/// Writes UTF-8 XML, as QXmlStreamWriter does for the calls the zip formats make, at a fraction
/// of its cost per call: the parts of a long document are millions of elements and attributes.
/// Characters XML cannot hold are left out.
class XmlWriter
{
public:
    /// The bytes written so far; the writer starts again, empty.
    QByteArray take();
    /// Hands the bytes written to sink in pieces of at least pieceSize as they come, each
    /// ending before a start tag, rather than keeping them all; take() gives the rest. The sink
    /// may give back an array, whatever it holds, for the writer to fill next.
    using Sink = std::function<QByteArray(QByteArray)>;
    void setSink(Sink sink, qsizetype pieceSize);

    /// The XML declaration; a standalone document says so.
    void writeStartDocument(bool standalone = false);
    void writeStartElement(QAnyStringView name);
    /// An element closed at once; attributes written next go on it.
    void writeEmptyElement(QAnyStringView name);
    void writeAttribute(QAnyStringView name, QAnyStringView value);
    void writeCharacters(QAnyStringView text);
    void writeTextElement(QAnyStringView name, QAnyStringView text);
    void writeEndElement();
    /// Closes every element still open.
    void writeEndDocument();
    /// Markup already made, e.g. by another XmlWriter; it goes where characters would.
    void writeRaw(QByteArrayView markup);

private:
    /// Room for size more bytes at m_used.
    char* reserve(qsizetype size);
    void put(QByteArrayView bytes);
    void closeStartTag();
    void append(QAnyStringView text, bool attribute);
    void handOff();

    /// Holds m_used bytes written, and room after them.
    QByteArray m_out;
    qsizetype m_used = 0;
    /// The names of the elements open, one after another, and where each starts.
    QByteArray m_names;
    std::vector<qsizetype> m_starts;
    bool m_tagOpen = false;
    bool m_tagEmpty = false;
    Sink m_sink;
    /// No piece is handed off before it holds this much; the sink's absence never reaches it.
    qsizetype m_pieceSize = std::numeric_limits<qsizetype>::max();
};
