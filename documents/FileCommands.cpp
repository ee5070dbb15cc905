#include "documents/FileCommands.h"

#include "app/frmVellumo.h"
#include "documents/DocumentList.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QDir>

namespace {

const char* const documentFilter = "All Files (*.doc)|*.doc";

} // namespace

FileCommands::FileCommands(frmVellumo& window) : QObject(&window), m_window(window)
{
    const MainMenu& menu = m_window.menu();
    MainMenu::onClick(menu.mnuOpen, this, [this] { mnuOpen_Click(); });
    MainMenu::onClick(menu.mnuSave, this, [this] { mnuSave_Click(); });
    MainMenu::onClick(menu.mnuSaveas, this, [this] { mnuSaveas_Click(); });
    MainMenu::onClick(menu.mnuPrint, this, [this] { mnuPrint_Click(); });
}

void FileCommands::mnuOpen_Click()
{
    CommonDialog& dialog = *m_window.services().dialog;
    dialog.DialogTitle = QStringLiteral("Open");
    dialog.CancelError = false;
    dialog.Filter = QLatin1String(documentFilter);
    dialog.ShowOpen();
    const QString f = dialog.FileName;
    if (f.isEmpty())
        return;

    DocumentList& documents = *m_window.documents();
    DocumentStore& store = documents.store();
    RichTextBox* editor = m_window.txtFile();
    // Nothing may change unless the file reads, so the document being left is kept aside.
    const QByteArray leaving = editor->rtfData();
    if (!editor->LoadFile(f)) {
        m_window.services().messages->MsgBox(
            tr("Cannot open %1.\n%2").arg(QDir::toNativeSeparators(f), editor->errorString()),
            MessageService::Icon::Warning);
        return;
    }
    store.setDocRTF(store.curDoc(), leaving);
    documents.setCaption(f);
    m_window.cmbFiles()->addItem(f);
    store.setCurDoc(m_window.cmbFiles()->count() - 1);
    store.resize(m_window.cmbFiles()->count());
    const QByteArray loaded = editor->rtfData();
    store.setDocRTF(store.curDoc(), loaded);
    store.setUndoRTF(store.curDoc(), loaded);
    store.markSaved(store.curDoc(), loaded);
    documents.selectEntry(store.curDoc());
    if (const QStringList losses = editor->lastLoadLosses(); !losses.isEmpty())
        m_window.services().messages->MsgBox(
            tr("%1 holds things Quillmere cannot keep: %2. Saving over it would lose them.")
                .arg(QDir::toNativeSeparators(f), losses.join(QLatin1String(", "))),
            MessageService::Icon::Information);
}

void FileCommands::mnuSave_Click()
{
    const DocumentStore& store = m_window.documents()->store();
    const QString name = m_window.cmbFiles()->itemText(store.curDoc());
    if (!DocumentStore::isFilePath(name)) {
        mnuSaveas_Click();
        return;
    }
    writeTo(m_window.cmbFiles()->currentText());
}

void FileCommands::mnuSaveas_Click()
{
    CommonDialog& dialog = *m_window.services().dialog;
    dialog.DefaultExt = QStringLiteral("doc");
    dialog.DialogTitle = QStringLiteral("Save");
    dialog.CancelError = false;
    dialog.Filter = QLatin1String(documentFilter);
    dialog.ShowSave();
    const QString f = dialog.FileName;
    if (f.isEmpty() || !writeTo(f))
        return;

    DocumentList& documents = *m_window.documents();
    DocumentStore& store = documents.store();
    documents.setCaption(f);
    m_window.cmbFiles()->setItemText(store.curDoc(), f);
    store.setDocRTF(store.curDoc(), m_window.txtFile()->rtfData());
}

bool FileCommands::writeTo(const QString& path)
{
    RichTextBox* editor = m_window.txtFile();
    if (!editor->SaveFile(path)) {
        m_window.services().messages->MsgBox(
            tr("Cannot save %1.\n%2").arg(QDir::toNativeSeparators(path), editor->errorString()),
            MessageService::Icon::Critical);
        return false;
    }
    DocumentStore& store = m_window.documents()->store();
    store.markSaved(store.curDoc(), editor->rtfData());
    return true;
}

void FileCommands::mnuPrint_Click()
{
    CommonDialog& dialog = *m_window.services().dialog;
    RichTextBox* editor = m_window.txtFile();
    dialog.DialogTitle = QStringLiteral("Print");
    dialog.CancelError = true;
    dialog.Flags = CommonDialog::cdlPDReturnDC | CommonDialog::cdlPDNoPageNums;
    if (editor->SelLength() != 0)
        dialog.Flags += CommonDialog::cdlPDSelection;
    if (dialog.ShowPrinter() == CommonDialog::cdlCancel)
        return;
    editor->SelPrint(dialog.hDC);
}
