#pragma once

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
    /// Adds text to the current run, dropping characters a body cannot hold.
    void appendText(QStringView text, int formatId);
    /// Closes the current paragraph; markFormatId formats it when it holds no text.
    void endParagraph(bool bullet, int markFormatId);
    /// Closes the last paragraph and the edit block.
    void finish(bool bullet, int markFormatId);

private:
    void flushRun();
    void closeParagraph(bool bullet, int markFormatId);

    QTextDocument* m_document;
    QTextCursor m_cursor;
    bool m_undoWasEnabled;
    QList<QTextCharFormat> m_formats;
    QString m_run;
    int m_runFormat = -1;
    bool m_paragraphHasText = false;
    QTextList* m_list = nullptr;
};
