#pragma once

#include "formats/base/BuildSteps.h"
#include "formats/base/Progress.h"
#include "formats/base/SeedRunXml.h"

#include <QTextCharFormat>

class OdtPackage;
class OdtStoryBuilder;
class OdtStyleSheet;
class XmlReader;

/// Reads the paragraphs, lists, tables, notes and pictures of an OpenDocument text body, or of a
/// header or footer, and posts to steps what a writer would type to make them, which an
/// OdtStoryBuilder carries out.
class OdtBodyReader
{
public:
    OdtBodyReader(XmlReader& xml, OdtStyleSheet& styles, OdtPackage& package,
                  OdtStoryBuilder& builder, BuildSteps& steps);

    /// Reads the children of the element the reader stands on, up to its end; progress hears
    /// how far into total characters of XML the reader is.
    void read(const Progress& progress = {}, qint64 total = 0);
    /// The paragraph style of the first paragraph read, which names the body's page.
    QString firstParagraphStyle() const { return m_firstStyle; }
    bool hasNotes() const { return m_lastNote > 0; }

private:
    /// The body or the notes, as far as the reading goes.
    struct Target
    {
        bool notes = false;
        /// The last character written is white space that collapsed.
        bool afterSpace = true;
        /// That white space is the last character of the paragraph so far.
        bool collapsedSpace = false;
        /// Text read but not yet inserted, all in one format: Qt takes a paragraph's pieces
        /// (text, tabs, spaces) faster as one insertion.
        QString pending;
        QTextCharFormat pendingFormat;
    };

    struct TableBuild;

    void readBlocks(int depth);
    void readParagraph(int depth);
    void readInline(const QTextCharFormat& format, int depth);
    bool readField(const QTextCharFormat& format, int depth);
    void readList(int depth, QString listStyle, int level);
    void readTable(int depth);
    void readTableParts(TableBuild& build, int depth);
    void readRow(TableBuild& build, int depth);
    void readCell(TableBuild& build, int column, int depth);
    void finishTable(TableBuild& build);
    void readNote(const QTextCharFormat& format, int depth);
    void readNoteBody(int note, bool endnote, int depth);
    void readFrame(const QTextCharFormat& format);
    void startParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void endParagraph();
    void joinList(int level, QStringView paragraphStyle);
    void insertText(QStringView text, const QTextCharFormat& format);
    void queue(QStringView text, const QTextCharFormat& format);
    void flush();
    void insertLiteral(const QString& text, const QTextCharFormat& format);
    bool enter(int depth);
    void tellProgress();

    XmlReader& m_xml;
    OdtStyleSheet& m_styles;
    OdtPackage& m_package;
    OdtStoryBuilder& m_builder;
    BuildSteps& m_steps;
    SeedRunXml m_seedRuns;
    Target m_body;
    Target m_notes;
    Target* m_target = &m_body;
    QString m_listStyle;
    /// The level of the list item whose paragraphs are read, 0 outside lists.
    int m_listLevel = 0;
    int m_listId = 0;
    int m_lastNote = 0;
    int m_note = 0;
    bool m_endnote = false;
    bool m_noteMarkPending = false;
    QString m_firstStyle;
    bool m_firstSeen = false;
    int m_paragraphs = 0;
    Progress m_progress;
    qint64 m_total = 0;
};
