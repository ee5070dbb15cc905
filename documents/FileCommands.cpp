#include "documents/FileCommands.h"

#include "documents/DocumentList.h"
#include "documents/OpenReport.h"
#include "formats/DocumentFormats.h"
#include "platform/BusyIndicator.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextDocument>

#include <utility>

namespace {

using Format = DocumentFormats::Format;

// RTF's own two entries come first in Save As, as they always have.
const char* const rtfSaveFilter = "All Files (*.doc)|*.doc|Rich Text Format (*.rtf)|*.rtf";
constexpr int rtfSaveFilters = 2;

QString filterEntry(const QString& description, const QStringList& patterns)
{
    return QStringLiteral("%1 (%2)|%3").arg(description, patterns.join(u' '), patterns.join(u';'));
}

QStringList patternsOf(const Format& format)
{
    QStringList patterns;
    for (const QString& extension : format.extensions)
        patterns << QLatin1String("*.") + extension;
    return patterns;
}

// Every file Quillmere reads first, then each format's files, then files of any name, which
// other programs save with extensions of their own or none.
QString openFilter()
{
    QStringList all;
    QStringList entries;
    for (const Format* format : DocumentFormats::all()) {
        all << patternsOf(*format);
        entries << filterEntry(format->description, patternsOf(*format));
    }
    entries.prepend(filterEntry(FileCommands::tr("All documents"), all));
    entries << QStringLiteral("All files (*)|*");
    return entries.join(u'|');
}

QString saveFilter()
{
    QStringList entries{QLatin1String(rtfSaveFilter)};
    for (const Format* format : DocumentFormats::all())
        if (format != &DocumentFormats::rtf())
            entries << filterEntry(format->description,
                                   {QLatin1String("*.") + format->extensions.constFirst()});
    return entries.join(u'|');
}

int saveFilterIndex(const Format& format)
{
    const qsizetype at = DocumentFormats::all().indexOf(&format);
    return at > 0 ? int(at) + rtfSaveFilters : 1;
}

// The name's own extension says the format; a name without a known one takes the filter's.
const Format& savedFormat(const QString& fileName, int filterIndex)
{
    if (const Format* format = DocumentFormats::forExtension(QFileInfo(fileName).suffix()))
        return *format;
    const QList<const Format*>& formats = DocumentFormats::all();
    const qsizetype at = filterIndex - rtfSaveFilters;
    return at > 0 && at < formats.size() ? *formats.at(at) : DocumentFormats::rtf();
}

QString defaultExtension(const Format& format)
{
    return &format == &DocumentFormats::rtf() ? QStringLiteral("doc")
                                              : format.extensions.constFirst();
}

/// A reason as a sentence of its own: the system's and the reader's start in lower case.
QString sentence(QString reason)
{
    if (!reason.isEmpty())
        reason[0] = reason[0].toUpper();
    return reason;
}

} // namespace

FileCommands::FileCommands(RichTextBox& editor, DocumentList& documents, CommonDialog& dialog,
                           MessageService& messages, BusyIndicator& busy, QObject* parent)
    : QObject(parent), m_editor(editor), m_documents(documents), m_dialog(dialog),
      m_messages(messages), m_busy(busy)
{
}

void FileCommands::mnuOpen_Click()
{
    m_dialog.DialogTitle = QStringLiteral("Open");
    m_dialog.CancelError = false;
    m_dialog.Filter = openFilter();
    m_dialog.FilterIndex = 1;
    m_dialog.ShowOpen();
    const QString f = m_dialog.FileName;
    if (f.isEmpty())
        return;
    openAll({f}, false);
}

void FileCommands::openFiles(const QStringList& paths)
{
    if (m_working) {
        m_waiting << paths;
        return;
    }
    openAll(paths, false);
}

void FileCommands::openAtStartup(const QStringList& paths)
{
    openAll(paths, true);
}

// A writer who cancels a long reading wants to stop waiting, not to wait for the next file. A
// box for each of many files would have to be closed one by one.
void FileCommands::openAll(const QStringList& paths, bool reuseStartup)
{
    OpenReport report;
    qsizetype tried = 0;
    while (tried < paths.size() &&
           open(paths.at(tried), reuseStartup, report) != Opening::Cancelled)
        ++tried;
    if (!report.isEmpty())
        m_messages.MsgBox(report.message(tried), report.hasFailures()
                                                     ? MessageService::Icon::Warning
                                                     : MessageService::Icon::Information);
}

FileCommands::Opening FileCommands::open(const QString& f, bool reuseStartup, OpenReport& report)
{
    if (showIfOpen(f, reuseStartup))
        return Opening::Opened;
    // Read aside, so nothing changes unless the file reads.
    m_documents.dropKept();
    DocumentFormats::Read read;
    const bool finished = work(true, [&](const Progress& progress) {
        read = DocumentFormats::readFile(f, progressPart(progress, 0, 75));
        // The store keeps the document's states as RTF, wanted as soon as it is shown: written
        // here, that is part of the work the reader sees being done.
        if (read.document)
            DocumentFormats::rtf().write(*read.document, progressPart(progress, 75, 100));
    });
    if (!finished)
        return Opening::Cancelled;
    if (showIfOpen(f, reuseStartup))
        return Opening::Opened;
    if (!read.document) {
        report.failed(f, sentence(read.error));
        return Opening::Failed;
    }
    m_lastFolder = QFileInfo(f).absolutePath();
    auto document = m_documents.store().create(Document::Origin::Opened, f,
                                               DocumentFormats::rtf().write(*read.document, {}));
    document->setFormat(*read.format);
    document->setStamp(read.stamp);
    document->setLosses(read.losses);
    QTextDocument* text = read.document.release();
    if (reuseStartup && m_documents.isUnusedStartup())
        m_documents.replace(m_documents.store().curDoc(), std::move(document), text);
    else
        m_documents.selectEntry(m_documents.add(std::move(document), text));
    if (!read.losses.isEmpty())
        report.lost(f, read.losses);
    return Opening::Opened;
}

// At start-up a file may be open already, restored from its recovery copy, which holds later
// words than the file; a copy offered late may even come while the file is read.
bool FileCommands::showIfOpen(const QString& f, bool atStartup)
{
    const int open = atStartup ? m_documents.store().indexOf(f) : -1;
    if (open >= 0)
        m_documents.selectEntry(open);
    return open >= 0;
}

void FileCommands::mnuSave_Click()
{
    const Document& document = m_documents.current();
    if (!document.hasFile()) {
        mnuSaveas_Click();
        return;
    }
    switch (document.stamp().compare(document.name())) {
    case FileStamp::Change::Changed:
        saveOverChanges(document);
        return;
    case FileStamp::Change::Missing:
        saveInPlaceOfMissing(document);
        return;
    case FileStamp::Change::None:
        if (confirmLosses(document) && confirmFormat(document.format(), document.name()))
            writeTo(document.name(), document.format());
        return;
    }
}

// What another program wrote is the newer work, and may be the writer's own: it is not
// replaced without asking. The file no longer holds what the document lost, so that question
// has no place here.
void FileCommands::saveOverChanges(const Document& document)
{
    using Button = MessageService::Button;
    const Button answer = m_messages.ask(
        tr("%1 was changed by another program since Quillmere opened or last saved it. "
           "Overwriting it replaces those changes with this document; Save As keeps both.")
            .arg(QDir::toNativeSeparators(document.name())),
        {Button::Overwrite, Button::SaveAs, Button::Cancel}, Button::SaveAs);
    if (answer == Button::Overwrite)
        writeTo(document.name(), document.format());
    else if (answer == Button::SaveAs)
        mnuSaveas_Click();
}

// Nothing is lost by writing the file again, so nothing is asked; once written, it is there,
// so this is said once.
void FileCommands::saveInPlaceOfMissing(const Document& document)
{
    const QString path = document.name();
    if (writeTo(path, document.format()))
        m_messages.MsgBox(tr("%1 was no longer there: another program deleted or moved it since "
                             "Quillmere opened or last saved it. Quillmere has saved the "
                             "document there again.")
                              .arg(QDir::toNativeSeparators(path)),
                          MessageService::Icon::Information);
}

// Overwriting a file with what could not be read from it loses that for good: ask first, once.
bool FileCommands::confirmLosses(const Document& document)
{
    if (document.losses().isEmpty())
        return true;
    using Button = MessageService::Button;
    const Button answer =
        m_messages.ask(tr("%1 holds content Quillmere cannot keep (%2). Saving will remove it.")
                           .arg(QDir::toNativeSeparators(document.name()),
                                document.losses().join(QLatin1String(", "))),
                       {Button::Save, Button::SaveAs, Button::Cancel}, Button::SaveAs);
    if (answer == Button::SaveAs)
        mnuSaveas_Click();
    return answer == Button::Save;
}

void FileCommands::mnuSaveas_Click()
{
    saveAs(m_documents.current().format(), proposedName());
}

void FileCommands::saveAs(const Format& offered, const QString& name)
{
    m_dialog.DefaultExt = defaultExtension(offered);
    m_dialog.DialogTitle = QStringLiteral("Save");
    m_dialog.CancelError = false;
    m_dialog.Filter = saveFilter();
    m_dialog.FilterIndex = saveFilterIndex(offered);
    const QFileInfo named(name);
    m_dialog.FileName =
        DocumentFormats::forExtension(named.suffix()) == &offered
            ? name
            : named.dir().filePath(named.completeBaseName() + u'.' + defaultExtension(offered));
    m_dialog.ShowSave();
    const QString f = m_dialog.FileName;
    if (f.isEmpty())
        return;
    const Format& format = savedFormat(f, m_dialog.FilterIndex);
    if (confirmFormat(format, f) && writeTo(f, format))
        m_documents.storeCurrent();
}

// A format that cannot hold all of the document is the writer's choice to make, once: the same
// losses are not asked about again at the next Save.
bool FileCommands::confirmFormat(const Format& format, const QString& path)
{
    Document& document = m_documents.current();
    const QStringList losses = format.losses ? format.losses(*m_editor.document()) : QStringList();
    if (document.acceptsLosses(format, losses))
        return true;
    using Button = MessageService::Button;
    QList<Button> buttons{Button::Save, Button::SaveAsRtf};
    const Format* odt = DocumentFormats::named(u"ODT");
    if (odt)
        buttons << Button::SaveAsOdt;
    buttons << Button::Cancel;
    const Button answer = m_messages.ask(
        tr("%1 cannot keep this document's %2. Save it as %1 all the same, or in a format that "
           "keeps everything?")
            .arg(format.description, losses.join(QLatin1String(", "))),
        buttons, Button::SaveAsRtf);
    if (answer == Button::Save)
        document.acceptLosses(format, losses);
    else if (answer == Button::SaveAsRtf)
        saveAs(DocumentFormats::rtf(), path);
    else if (answer == Button::SaveAsOdt)
        saveAs(*odt, path);
    return answer == Button::Save;
}

// The dialog keeps the last name it was given, which may be a seed file's: the document's own
// name goes in its place, in the folder the writer last worked in.
QString FileCommands::proposedName() const
{
    const Document& document = m_documents.current();
    const QString fileName =
        document.hasFile() ? QFileInfo(document.name()).fileName() : document.name();
    QString folder = m_lastFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(fileName);
}

bool FileCommands::writeTo(const QString& path, const DocumentFormats::Format& format)
{
    const int index = m_documents.store().curDoc();
    std::optional<FileStamp> written;
    QString error;
    work(false, [&](const Progress& progress) {
        written = DocumentFormats::writeFile(path, *m_editor.document(), format, &error, progress);
    });
    if (!written) {
        m_messages.MsgBox(
            tr("Cannot save %1.\n%2").arg(QDir::toNativeSeparators(path), sentence(error)),
            MessageService::Icon::Critical);
        return false;
    }
    m_documents.markSaved(index, path, format, *written);
    m_lastFolder = QFileInfo(path).absolutePath();
    return true;
}

// The window repaints while a file is read or written, and files dropped on it meanwhile arrive
// then: they wait until this file is done, so no document changes under the work.
bool FileCommands::work(bool cancellable, const std::function<void(const Progress&)>& task)
{
    m_working = true;
    bool finished = true;
    if (cancellable)
        finished = m_busy.runCancellable(task);
    else
        m_busy.run(task);
    m_working = false;
    if (!m_waiting.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { openFiles(std::exchange(m_waiting, {})); }, Qt::QueuedConnection);
    return finished;
}

void FileCommands::mnuPrint_Click()
{
    m_dialog.DialogTitle = QStringLiteral("Print");
    m_dialog.CancelError = true;
    m_dialog.Flags = CommonDialog::cdlPDReturnDC | CommonDialog::cdlPDNoPageNums;
    if (m_editor.SelLength() != 0)
        m_dialog.Flags += CommonDialog::cdlPDSelection;
    if (m_dialog.ShowPrinter() == CommonDialog::cdlCancel)
        return;
    m_editor.SelPrint(m_dialog.hDC);
}

bool FileCommands::confirmClose()
{
    const DocumentStore& store = m_documents.store();
    const int current = store.curDoc();
    const qint64 selStart = m_editor.SelStart();
    const qint64 selLength = m_editor.SelLength();
    using Button = MessageService::Button;
    for (int i = 0; i < store.count(); ++i) {
        if (!m_documents.isModified(i))
            continue;
        // The question is about the document on the screen.
        if (i != store.curDoc())
            m_documents.selectEntry(i);
        const Button answer =
            m_messages.ask(tr("Save the changes to %1 before closing?").arg(store.at(i).name()),
                           {Button::Save, Button::Discard, Button::Cancel}, Button::Save);
        if (answer == Button::Discard)
            continue;
        if (answer == Button::Save) {
            mnuSave_Click();
            if (!m_documents.isModified(i)) // saved; a cancelled or failed save stops the exit
                continue;
        }
        returnTo(current, selStart, selLength);
        return false;
    }
    return true;
}

void FileCommands::returnTo(int index, qint64 selStart, qint64 selLength)
{
    if (m_documents.store().curDoc() == index)
        return;
    m_documents.selectEntry(index);
    m_editor.setSelStart(selStart);
    m_editor.setSelLength(selLength);
}
