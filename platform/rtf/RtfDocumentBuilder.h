#pragma once

#include "platform/rtf/RtfParagraphState.h"

#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;

/// Fills a QTextDocument with whole runs through one cursor inside one edit block.
class RtfDocumentBuilder
{
public:
    /// Empties document and opens the edit block; finish() closes it.
    explicit RtfDocumentBuilder(QTextDocument* document);
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    /// Registers a character format; the returned id names it in appendText().
    int addFormat(const QTextCharFormat& format);
    /// Adds text to the current run, dropping characters a body cannot hold; a surrogate
    /// without its other half becomes U+FFFD.
    void appendText(QStringView text, int formatId);
    /// Adds a PNG or JPEG picture, kept as its bytes; a size of 0 leaves the picture's own.
    void appendImage(const QByteArray& data, double width, double height);
    /// Closes the current paragraph; markFormatId formats it when it holds no text.
    void endParagraph(const RtfParagraphState& paragraph, int markFormatId);
    /// True while the current paragraph holds neither text nor pictures.
    bool paragraphIsEmpty() const { return !m_target->paragraphHasText && m_run.isEmpty(); }
    /// Sends what follows, until endNote(), to a new note in the notes section at the end of the
    /// document, which the first note opens under a heading in headingFormatId.
    void startNote(int headingFormatId);
    /// Closes the note's last paragraph, or drops it when it is an empty one after others.
    void endNote(const RtfParagraphState& paragraph, int markFormatId);
    /// Closes the last paragraph and the edit block.
    void finish(const RtfParagraphState& paragraph, int markFormatId);

private:
    /// Where text goes: the body, or the notes after it.
    struct Target
    {
        QTextCursor cursor;
        /// The format the current block was made with.
        QTextBlockFormat blockFormat;
        bool paragraphHasText = false;
        QTextList* list = nullptr;
        int paragraphs = 0;
    };

    void flushRun();
    void closeParagraph(const RtfParagraphState& paragraph, int markFormatId);
    const QTextBlockFormat& formatOf(const RtfParagraphState& paragraph);
    void joinList(QTextListFormat::Style style);

    QTextDocument* m_document;
    Target m_body;
    Target m_notes;
    Target* m_target = &m_body;
    bool m_undoWasEnabled;
    QList<QTextCharFormat> m_formats;
    RtfParagraphState m_lastParagraph;
    QTextBlockFormat m_lastBlockFormat;
    QString m_run;
    int m_runFormat = -1;
};
