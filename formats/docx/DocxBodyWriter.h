#pragma once

#include "formats/base/Progress.h"
#include "formats/docx/DocxListWriter.h"
#include "formats/docx/DocxRelations.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTextBlock>
#include <QTextFrame>

#include <optional>
#include <utility>
#include <vector>

class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;
class QTextTable;
class XmlWriter;

/// The font and size the document's defaults give, which runs in them leave unsaid. Word keeps
/// the font most of a text is in there; so does the writer, and a long text is a fifth shorter.
struct DocxRunDefaults
{
    QString family;
    /// In half points, as Word counts sizes.
    int halfPoints = 0;
    /// The document's own default font, which a run that names none of its own is in.
    QString documentFamily;
    int documentHalfPoints = 0;

    /// The font and size most of document's text is in, judged from paragraphs spread over it.
    static DocxRunDefaults of(const QTextDocument& document);
};

/// What the parts of one document share while they are written: its lists, its pictures and
/// its notes, each written once.
struct DocxWriteContext
{
    DocxListWriter lists;
    struct Picture
    {
        /// The part, from the folder of the parts that show it.
        QString target;
        QSizeF size;
    };
    /// The pictures' parts, by the name of the picture's resource.
    QHash<QString, Picture> pictures;
    QList<std::pair<QString, QByteArray>> media;
    int drawings = 0;
    /// The paragraphs of each note whose mark the text holds, by its number.
    QHash<int, QList<QTextBlock>> notes;
    /// The notes in the order their marks were written, and the id each got in its part.
    QList<int> footnotes;
    QList<int> endnotes;
    QHash<int, int> noteIds;
    /// Where text lies on the page, in twips, which tables without widths of their own fill.
    int textWidth = 9360;
    DocxRunDefaults runDefaults;
};

/// Writes the text of one story of a document, its body, a header or footer or a note, as
/// WordprocessingML paragraphs and tables.
class DocxBodyWriter
{
public:
    DocxBodyWriter(const QTextDocument& document, DocxWriteContext& context,
                   DocxRelations& relations, XmlWriter& xml);

    /// The notes the body's marks point to, found before the body is written.
    static void findNotes(const QTextDocument& document, DocxWriteContext& context);
    /// Writes every paragraph and table of the story but the notes written at their marks.
    void writeStory(const Progress& progress = {});
    /// Writes a note's paragraphs; note is its number.
    void writeNote(int note);
    /// The namespaces of a part's root element that holds text.
    static void writeNamespaces(XmlWriter& xml);

private:
    void writeFrame(QTextFrame::iterator it, const Progress& progress);
    void writeParagraph(const QTextBlock& block);
    void writeParagraphProperties(const QTextBlock& block);
    QByteArray paragraphProperties(const QTextBlock& block);
    void writeTabs(XmlWriter& xml, const QTextBlockFormat& format, int lineStart);
    void writeSpacing(XmlWriter& xml, const QTextBlockFormat& format);
    void writeIndents(XmlWriter& xml, const QTextBlockFormat& format);
    /// Writes fragment, whose raw text is text.
    void writeFragment(const QTextFragment& fragment, QStringView text);
    /// A run; one of the document's formats gives its index, so its properties are written once.
    void writeRun(QStringView text, const QTextCharFormat& format, int formatIndex = -1);
    void writeText(QStringView text);
    void writeMark(int note, QStringView text, const QTextCharFormat& format);
    void writePicture(const QTextImageFormat& format);
    void writeDrawing(const QString& relation, QSizeF size);
    void openLink(const QString& link);
    void closeLink();
    void writeTable(const QTextTable& table);
    void writeTableProperties(const QTextTable& table);
    QList<int> columnWidths(const QTextTable& table) const;
    void writeCell(const QTextTable& table, int row, int column, const QList<int>& widths);

    const QTextDocument& m_document;
    DocxWriteContext& m_context;
    DocxRelations& m_relations;
    XmlWriter& m_xml;
    QHash<int, QByteArray> m_runProperties;
    /// The start of a run up to its text, by the format of runs that are text and no more; empty
    /// for other formats.
    std::vector<QByteArray> m_plainRuns;
    /// The properties of paragraphs by their format and, for empty ones, their mark's.
    QHash<std::pair<int, int>, QByteArray> m_paragraphProperties;
    QSet<int> m_noteFormats;
    /// The whole story's text while it is written, which its paragraphs' texts are taken from.
    std::optional<QString> m_storyText;
    bool m_notesPlaced = false;
    int m_note = 0;
    QString m_link;
    int m_written = 0;
};
