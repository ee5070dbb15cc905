#pragma once

#include "formats/base/BuildSteps.h"
#include "formats/base/Progress.h"
#include "formats/base/SeedRunXml.h"
#include "formats/docx/DocxPackage.h"
#include "formats/docx/DocxProperties.h"
#include "formats/docx/DocxStoryBuilder.h"
#include "formats/docx/DocxStyles.h"

#include <QHash>
#include <QSet>
#include <QTextBlockFormat>
#include <QTextListFormat>

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class DocxNumbering;
class XmlReader;

/// What the parts of one document share while they are read into it.
struct DocxReadContext
{
    DocxPackage& package;
    DocxStyles& styles;
    const DocxNumbering& numbering;
    /// What the document held that it cannot keep, each once.
    QSet<QString> losses;
    /// The number each note got at its mark, by its kind and id in its part.
    QHash<qint64, int> notes;
    int noteCount = 0;

    static qint64 noteKey(bool endnote, int id) { return (qint64(endnote) << 32) | quint32(id); }
};

/// Reads one story of a Word document, its body, a header or footer or a note, into a document
/// at a cursor: paragraphs and their runs, lists, tables, pictures, links, fields and notes'
/// marks. What it makes of them it posts to steps, which fill the document through a
/// DocxStoryBuilder.
class DocxContentReader
{
public:
    /// relationships are those of the part read, which its pictures and links name.
    DocxContentReader(DocxReadContext& context, DocxRelationships relationships, QTextCursor cursor,
                      BuildSteps& steps);

    /// Reads the paragraphs and tables inside the element xml is in; onSection, when set,
    /// reads a sectPr found among them or ending a paragraph, and says whether the section
    /// starts a page.
    void readBlocks(XmlReader& xml);
    std::function<bool(XmlReader&)> onSection;
    /// Paragraphs read from now on belong to note number, numbered at its mark.
    void startNote(int number, bool endnote);
    /// Goes on after a paragraph that is already there, e.g. a heading of the reader's own.
    void continueAfter(const QTextCursor& cursor);
    /// Hears how far xml, of total bytes, has been read now and then.
    void setProgress(const Progress& progress, qint64 total);

private:
    struct Field
    {
        QString instruction;
        bool inResult = false;
        bool wroteText = false;
    };
    struct Cell
    {
        int span = 1;
        bool merged = false;
        bool continued = false;
    };
    struct TableState;
    /// What a run's rPr makes of its paragraph's style: its format, and whether it is seed text.
    struct RunFormat
    {
        QTextCharFormat format;
        bool seed = false;
    };
    /// Orders the paragraph style and the rPr's bytes a run format was read from, kept or looked
    /// up: files can choose neither the order nor its cost.
    struct RunKeyLess
    {
        using is_transparent = void;
        template <typename Key, typename Other>
        bool operator()(const Key& key, const Other& other) const
        {
            // Sizes first: they tell most apart without a look at the bytes.
            if (key.second.size() != other.second.size())
                return key.second.size() < other.second.size();
            const int style = QStringView(key.first).compare(QStringView(other.first));
            return style != 0 ? style < 0
                              : std::memcmp(key.second.data(), other.second.data(),
                                            size_t(key.second.size())) < 0;
        }
    };

    void readBlock(XmlReader& xml, int depth);
    void readParagraph(XmlReader& xml);
    bool readParagraphProperties(XmlReader& xml);
    void endSection(XmlReader& xml);
    void usePropertiesOf(const DocxParagraphProperties& direct, const QTextCharFormat& mark);
    void readInline(XmlReader& xml, int depth);
    void readChildren(XmlReader& xml, int depth);
    void readHyperlink(XmlReader& xml, int depth);
    void readSimpleField(XmlReader& xml, int depth);
    void readRun(XmlReader& xml);
    bool readRunProperties(XmlReader& xml, QTextCharFormat& format, bool fresh);
    void markSeed(QTextCharFormat& format, bool seed, const XmlAttributes& run);
    void readRunContent(XmlReader& xml, const QTextCharFormat& format);
    void readFieldChar(const XmlReader& xml, const QTextCharFormat& format);
    void endField(const QTextCharFormat& format);
    void readPicture(XmlReader& xml);
    void insertPicture(const QString& relationship, QSizeF size);
    /// Opens the paragraph, or splits it after a page break, before content goes into it.
    void makeRoom();
    void insertNoteMark(const XmlReader& xml, const QTextCharFormat& format);
    void insertText(const QString& text, const QTextCharFormat& format);
    void flush();
    void insertHidden(const QString& text, QTextCharFormat format);
    /// What the fields around a run make of it: nothing in an instruction, a link or a page
    /// number in a result.
    std::optional<QTextCharFormat> fieldFormat(const QTextCharFormat& format);
    void openBlock();
    void breakPage();
    void readTable(XmlReader& xml, int depth);
    void readTableProperties(XmlReader& xml, TableState& table);
    void readRow(XmlReader& xml, TableState& table, int depth);
    int readCell(XmlReader& xml, TableState& table, int column, int depth);
    Cell readCellProperties(XmlReader& xml, TableState& table);
    void placeCell(TableState& table, int& column, const Cell& cell);
    void createTable(TableState& table);
    void closeTable(TableState& table);

    DocxReadContext& m_context;
    DocxRelationships m_relationships;
    BuildSteps& m_steps;
    /// Touched by the steps alone.
    DocxStoryBuilder m_builder;
    /// The cursor's block is still empty and nobody's: the next paragraph takes it.
    bool m_unusedBlock = true;
    bool m_blockOpen = false;
    bool m_blockHasText = false;
    bool m_pageBreakNext = false;
    bool m_splitPending = false;
    /// The next paragraph starts a section, which begins at m_sectionStart.
    bool m_sectionStarts = false;
    DocxParagraphProperties m_paragraph;
    /// The paragraph style last used, which most paragraphs use again.
    QString m_paragraphStyle;
    DocxStyles::Paragraph m_style;
    QTextCharFormat m_paragraphChars;
    /// Most paragraphs and runs repeat a few pPr and rPr elements, byte for byte: each is read
    /// once, a pPr into its own properties and its mark's.
    std::map<std::string, std::pair<DocxParagraphProperties, QTextCharFormat>, std::less<>>
        m_paragraphFormats;
    std::map<std::pair<QString, QByteArray>, RunFormat, RunKeyLess> m_runFormats;
    /// The seed run the runs read last belong to; 0 after a run of the writer's own.
    qint64 m_seedRun = 0;
    SeedRunXml m_seedRuns;
    QTextCharFormat m_mark;
    QTextBlockFormat m_noteFormat;
    int m_note = 0;
    /// The note whose mark is the next text, when the writer gave one of its own.
    int m_customMark = 0;
    QString m_link;
    /// Text read but not yet inserted, all in one format: Qt takes a paragraph's pieces (text,
    /// tabs, breaks) faster as one insertion.
    QString m_pending;
    /// The text of the run read last, its room kept for the next.
    QString m_text;
    QTextCharFormat m_pendingFormat;
    std::vector<Field> m_fields;
    int m_tableDepth = 0;
    Progress m_progress;
    qint64 m_total = 0;
    int m_paragraphs = 0;
};
