#pragma once

#include "formats/DocumentFormats.h"

#include <QObject>
#include <QStringList>

#include <functional>

class BusyIndicator;
class CommonDialog;
class Document;
class DocumentList;
class MessageService;
class OpenReport;
class RichTextBox;

/// Open, Save, Save As and Print of the current document, and the question about unsaved
/// documents before the program ends.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(RichTextBox& editor, DocumentList& documents, CommonDialog& dialog,
                 MessageService& messages, BusyIndicator& busy, QObject* parent = nullptr);

    void mnuOpen_Click();
    /// Opens each file as Open does after its dialog, each as a new document.
    void openFiles(const QStringList& paths);
    /// openFiles() at start-up: the first file that reads takes the place of the start-up
    /// document while nobody has written in it, and a file open already, as one restored from
    /// its recovery copy is, is shown rather than read again.
    void openAtStartup(const QStringList& paths);
    /// Writes the current document to its file, or asks for one through Save As.
    void mnuSave_Click();
    void mnuSaveas_Click();
    /// Prints the selection, or the whole document without one, on the chosen printer.
    void mnuPrint_Click();

    /// Asks about unsaved documents before the program ends; false when the user cancels.
    bool confirmClose();

private:
    enum class Opening { Opened, Failed, Cancelled };

    /// Shows document f when it is open and this is start-up; false when it is not shown.
    bool showIfOpen(const QString& f, bool atStartup);

    /// Opens each file in turn, until the writer cancels one, then tells what went wrong in
    /// one message.
    void openAll(const QStringList& paths, bool reuseStartup);
    /// Reads the file at path into a new document and shows it; what went wrong or could not
    /// be kept goes into report. A failed or cancelled reading changes nothing.
    Opening open(const QString& path, bool reuseStartup, OpenReport& report);
    /// Writes the current document to path in format; on failure tells the user and returns
    /// false.
    bool writeTo(const QString& path, const DocumentFormats::Format& format);
    /// Save over a file another program has written since: Overwrite, Save As, or nothing.
    void saveOverChanges(const Document& document);
    /// Save where another program deleted or moved the file: written again, and said so.
    void saveInPlaceOfMissing(const Document& document);
    /// Whether Save may go on over a file that held what the document lost.
    bool confirmLosses(const Document& document);
    /// Save As offering name with the extension and filter of offered.
    void saveAs(const DocumentFormats::Format& offered, const QString& name);
    /// Whether the current document may be written to path in format, which may not hold all
    /// of it; the writer may choose a format that does instead, and then Save As offers it.
    bool confirmFormat(const DocumentFormats::Format& format, const QString& path);
    /// What Save As offers: the document's own file name in the last folder used.
    QString proposedName() const;
    /// Runs task under the busy indicator, one file at a time; a cancellable task may be stopped
    /// by the writer, and false says it was.
    bool work(bool cancellable, const std::function<void(const Progress&)>& task);
    /// Switches back to document index with its caret, after an interrupted exit.
    void returnTo(int index, qint64 selStart, qint64 selLength);

    RichTextBox& m_editor;
    DocumentList& m_documents;
    CommonDialog& m_dialog;
    MessageService& m_messages;
    BusyIndicator& m_busy;
    /// The folder of the document last opened or saved.
    QString m_lastFolder;
    bool m_working = false;
    /// Files dropped while another was read or written.
    QStringList m_waiting;
};
