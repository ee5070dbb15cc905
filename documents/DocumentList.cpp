#include "documents/DocumentList.h"

#include "platform/RichTextBox.h"

#include <QComboBox>

DocumentList::DocumentList(RichTextBox& editor, QComboBox& list, QObject* parent)
    : QObject(parent), m_editor(editor), m_list(list)
{
}

void DocumentList::startup()
{
    m_store.reset(m_editor.rtfData());
    m_list.clear();
    m_list.addItem(m_store.name(0));
    selectEntry(0);
}

void DocumentList::cmbFiles_Click()
{
    const int selected = m_list.currentIndex();
    m_store.setDocRTF(m_store.curDoc(), m_editor.rtfData());
    // The current document's stored copy was just read from the editor: loading it back
    // would change nothing but cost a full parse.
    if (selected != m_store.curDoc())
        m_editor.setTextRTF(QString::fromLatin1(m_store.docRTF(selected)));
    m_store.setCurDoc(selected);
    emit captionChanged(captionFor(m_store.name(selected)));
    // Before the window is first shown the list keeps the focus it gets then.
    if (m_editor.isVisible())
        m_editor.SetFocus();
}

void DocumentList::mnuNew_Click()
{
    m_store.setDocRTF(m_store.curDoc(), m_editor.rtfData());
    selectEntry(add(DocumentStore::Origin::New, m_store.nextUntitledName()));
    m_editor.setTextRTF(QString());
}

int DocumentList::add(DocumentStore::Origin origin, const QString& name, const QByteArray& content)
{
    const int index = m_store.add(origin, name, content);
    m_list.addItem(name);
    return index;
}

void DocumentList::replace(int index, DocumentStore::Origin origin, const QString& name,
                           const QByteArray& content)
{
    m_store.replace(index, origin, name, content);
    m_list.setItemText(index, name);
    if (index != m_store.curDoc())
        return;
    m_editor.setTextRTF(QString::fromLatin1(content));
    emit captionChanged(captionFor(name));
}

void DocumentList::addShown(const QString& path, const QStringList& losses,
                            const QByteArray& leaving)
{
    m_store.setDocRTF(m_store.curDoc(), leaving);
    const int index = add(DocumentStore::Origin::Opened, path, m_editor.rtfData());
    m_store.setLosses(index, losses);
    m_store.setCurDoc(index);
    selectEntry(index);
}

void DocumentList::rename(int index, const QString& name)
{
    m_store.rename(index, name);
    m_list.setItemText(index, name);
    if (index == m_store.curDoc())
        emit captionChanged(captionFor(name));
}

void DocumentList::selectEntry(int index)
{
    m_list.setCurrentIndex(index);
    cmbFiles_Click();
}

bool DocumentList::isModified(int index) const
{
    const QByteArray content =
        index == m_store.curDoc() ? m_editor.rtfData() : m_store.docRTF(index);
    return m_store.isModified(index, content);
}

QString DocumentList::captionFor(const QString& name)
{
    return name + QStringLiteral(" - Quillmere v1.0.1");
}
