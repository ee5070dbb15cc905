#include "documents/DocumentList.h"

#include "app/frmVellumo.h"
#include "documents/FileCommands.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QComboBox>

DocumentList::DocumentList(frmVellumo& window) : QObject(&window), m_window(window)
{
    // activated also fires when the user picks the entry that is already current.
    connect(m_window.cmbFiles(), &QComboBox::activated, this, [this] { cmbFiles_Click(); });
    MainMenu::onClick(m_window.menu().mnuNew, this, [this] { mnuNew_Click(); });
}

void DocumentList::startup()
{
    m_store.reset(m_window.txtFile()->rtfData());
    selectEntry(0);
}

void DocumentList::cmbFiles_Click()
{
    RichTextBox* editor = m_window.txtFile();
    const int selected = m_window.cmbFiles()->currentIndex();
    m_store.setDocRTF(m_store.curDoc(), editor->rtfData());
    // The current document's stored copy was just read from the editor: loading it back
    // would change nothing but cost a full parse.
    if (selected != m_store.curDoc())
        editor->setTextRTF(QString::fromLatin1(m_store.docRTF(selected)));
    m_store.setCurDoc(selected);
    setCaption(m_window.cmbFiles()->itemText(selected));
    // Before the window is first shown the list keeps the focus it gets then.
    if (m_window.isVisible())
        editor->SetFocus();
}

void DocumentList::mnuNew_Click()
{
    QComboBox* list = m_window.cmbFiles();
    const QString name = m_store.nextUntitledName();
    m_store.setDocRTF(list->currentIndex(), m_window.txtFile()->rtfData());
    m_store.resize(m_store.count() + 1);
    list->addItem(name);
    selectEntry(list->count() - 1);
    m_window.txtFile()->setTextRTF(QString());
}

void DocumentList::selectEntry(int index)
{
    m_window.cmbFiles()->setCurrentIndex(index);
    cmbFiles_Click();
}

void DocumentList::setCaption(const QString& name)
{
    m_window.setWindowTitle(frmVellumo::captionFor(name));
}

bool DocumentList::isModified(int index) const
{
    const QByteArray content =
        index == m_store.curDoc() ? m_window.txtFile()->rtfData() : m_store.docRTF(index);
    return m_store.isModified(index, content);
}

bool DocumentList::confirmClose()
{
    const int current = m_store.curDoc();
    const qint64 selStart = m_window.txtFile()->SelStart();
    const qint64 selLength = m_window.txtFile()->SelLength();
    MessageService& messages = *m_window.services().messages;
    using Button = MessageService::Button;
    for (int i = 0; i < m_store.count(); ++i) {
        if (!isModified(i))
            continue;
        const QString name = m_window.cmbFiles()->itemText(i);
        const Button answer =
            messages.ask(tr("Save the changes to %1 before closing?").arg(name),
                         {Button::Save, Button::Discard, Button::Cancel}, Button::Save);
        if (answer == Button::Discard)
            continue;
        if (answer == Button::Save) {
            if (i != m_store.curDoc())
                selectEntry(i);
            m_window.files()->mnuSave_Click();
            if (!isModified(i)) // saved; a cancelled or failed save stops the exit
                continue;
        }
        returnTo(current, selStart, selLength);
        return false;
    }
    return true;
}

void DocumentList::returnTo(int index, qint64 selStart, qint64 selLength)
{
    if (m_store.curDoc() == index)
        return;
    selectEntry(index);
    m_window.txtFile()->setSelStart(selStart);
    m_window.txtFile()->setSelLength(selLength);
}
