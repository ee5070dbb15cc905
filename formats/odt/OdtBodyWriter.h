#pragma once

#include "formats/base/Progress.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QTextBlock>
#include <QTextFrame>

#include <utility>
#include <vector>

class OdtAutoStyles;
class QTextDocument;
class QTextImageFormat;
class QTextList;
class QTextTable;
class QTextTableCell;
class XmlWriter;

/// The pictures a package holds, by the document's names for them.
struct OdtPictures
{
    /// The part each picture was written to, by its resource name.
    QHash<QString, QString> parts;
    /// Each part's name and bytes, in the order written.
    std::vector<std::pair<QString, QByteArray>> data;
    /// Each part's picture's own size, in pixels.
    QHash<QString, QSize> sizes;
};

/// Writes a document's text as OpenDocument paragraphs, lists and tables, with its notes at
/// their marks, for the body of content.xml or a header or footer in styles.xml.
class OdtBodyWriter
{
public:
    OdtBodyWriter(const QTextDocument& document, XmlWriter& xml, OdtAutoStyles& styles,
                  OdtPictures& pictures);

    /// The first paragraph starts on page style name.
    void setFirstPage(const QString& name) { m_firstPage = name; }
    /// Writes every paragraph; progress hears the paragraphs written now and then.
    void write(const Progress& progress = {});

private:
    struct Level
    {
        const QTextList* list = nullptr;
        bool itemOpen = false;
    };

    void findNotes();
    /// Whether a paragraph of format is written at its note's mark, or is the heading above
    /// such notes.
    bool isPlacedNote(const QTextBlockFormat& format) const;
    /// Writes the paragraphs and tables of a frame or a table cell, from it onwards.
    void writeFrame(QTextFrame::iterator it);
    void writeBlock(const QTextBlock& block);
    void writeTable(const QTextTable& table);
    void writeCell(const QTextTableCell& cell, const QString& style);
    void placeInList(const QTextBlock& block);
    void closeLists(size_t keep);
    void writeFragments(const QTextBlock& block);
    void writeLink(const QString& href);
    /// Writes fragment, whose raw text is text; last when it ends its paragraph.
    void writeRun(const QTextFragment& fragment, QStringView text, bool last);
    /// Notes the start of a span of format, whose runs are text and no more.
    void notePlainSpan(int formatIndex, const QString& style);
    void writeText(QStringView text, bool endsParagraph);
    void writeImage(const QTextImageFormat& format);
    void writeNote(int note, const QString& mark, bool custom);

    const QTextDocument& m_document;
    XmlWriter& m_xml;
    OdtAutoStyles& m_styles;
    OdtPictures& m_pictures;
    /// The open lists, one per level.
    std::vector<Level> m_levels;
    QSet<const QTextList*> m_listsWritten;
    /// The start tag of the span of each format whose runs are text and no more; empty
    /// when such runs need none.
    QHash<int, QByteArray> m_plainSpans;
    /// The paragraphs of each note whose mark the text holds, by the note's number.
    QHash<int, QList<QTextBlock>> m_notes;
    bool m_hasNotes = false;
    /// The body's last paragraph, before the notes written at their marks.
    QTextBlock m_lastBlock;
    bool m_inNote = false;
    QString m_openLink;
    QString m_firstPage;
    bool m_afterSpace = true;
    /// A note's own number was just passed over.
    bool m_afterMark = false;
    int m_tables = 0;
    int m_frames = 0;
    int m_written = 0;
    Progress m_progress;
    /// The document's text, taken once rather than a paragraph or a run at a time.
    QString m_text;
};
