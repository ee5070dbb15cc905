#pragma once

#include "platform/rtf/RtfParagraphState.h"

#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <string>

class QTextDocument;
class QTextList;

/// Fills a QTextDocument with whole runs through one cursor inside one edit block.
class RtfDocumentBuilder
{
public:
    /// Empties document and opens the edit block; finish() closes it. A paragraph is made when
    /// its first content arrives, with the formatting paragraph holds then, as it mostly stays.
    RtfDocumentBuilder(QTextDocument* document, const RtfParagraphState& paragraph);
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    /// Registers a character format; the returned id names it in appendText().
    int addFormat(const QTextCharFormat& format);
    /// Adds text to the current run, dropping characters a body cannot hold; a surrogate
    /// without its other half becomes U+FFFD.
    void appendText(QStringView text, int formatId);
    /// appendText() for one character, which mostly goes straight on the end of the run.
    void appendCharacter(char16_t character, int formatId)
    {
        if (formatId == m_runFormat && passesAsIs(character) &&
            (m_run.empty() || !QChar::isHighSurrogate(m_run.back())))
            m_run.push_back(character);
        else
            appendText(QStringView(&character, 1), formatId);
    }
    /// Adds a PNG or JPEG picture, kept as its bytes; a size of 0 leaves the picture's own.
    void appendImage(const QByteArray& data, double width, double height);
    /// Closes the current paragraph; markFormatId formats it when it holds no text.
    void endParagraph(const RtfParagraphState& paragraph, int markFormatId);
    /// True while the current paragraph holds neither text nor pictures.
    bool paragraphIsEmpty() const { return !m_target->paragraphHasText && m_run.empty(); }
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
        /// Whether the current paragraph is still to be made.
        bool paragraphPending = false;
        QTextList* list = nullptr;
        int paragraphs = 0;
    };

    /// Most text is neither dropped nor a surrogate: one test lets it through.
    static bool passesAsIs(char16_t c) { return c >= 0x20 && c < 0xd800 && c != 0x2029; }
    void flushRun();
    /// The target's cursor, after making its pending paragraph with markFormat on its mark.
    QTextCursor& cursor(const QTextCharFormat& markFormat = QTextCharFormat());
    void closeParagraph(const RtfParagraphState& paragraph, int markFormatId);
    const QTextBlockFormat& formatOf(const RtfParagraphState& paragraph);
    void joinList(QTextListFormat::Style style);

    QTextDocument* m_document;
    const RtfParagraphState& m_paragraph;
    Target m_body;
    Target m_notes;
    Target* m_target = &m_body;
    bool m_undoWasEnabled;
    QList<QTextCharFormat> m_formats;
    RtfParagraphState m_lastParagraph;
    QTextBlockFormat m_lastBlockFormat;
    std::u16string m_run;
    int m_runFormat = -1;
};
