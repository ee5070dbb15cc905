#include "documents/DocumentList.h"

#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QTextBlock>
#include <QTextDocument>

#include <utility>

DocumentList::DocumentList(RichTextBox& editor, QComboBox& list, QObject* parent)
    : QObject(parent), m_editor(editor), m_list(list)
{
}

void DocumentList::startup()
{
    m_store.reset(m_editor.rtfData());
    m_documents = {nullptr};
    m_list.clear();
    m_list.addItem(m_store.name(0));
    selectEntry(0);
}

void DocumentList::cmbFiles_Click()
{
    const int selected = m_list.currentIndex();
    const int leaving = m_store.curDoc();
    m_store.setDocRTF(leaving, m_editor.rtfData(), m_editor.historyStep());
    if (selected != leaving)
        switchDocuments(leaving, selected);
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
    m_documents.append(nullptr);
    m_list.addItem(name);
    return index;
}

// Only the document left last is kept whole: going back and forth between two costs no
// reading, and a document in memory takes several times the room of the RTF the store keeps.
void DocumentList::switchDocuments(int from, int to)
{
    QTextDocument* leaving = m_editor.document();
    leaving->setParent(this);
    QTextDocument* kept = std::exchange(m_documents[to], nullptr);
    dropKept();
    if (kept) {
        m_editor.showDocument(kept);
    } else {
        m_editor.setTextRTF(QString::fromLatin1(m_store.docRTF(to)));
        m_store.restartSteps(to, m_editor.historyStep());
    }
    // Laid out again when shown; meanwhile its layout would hold memory for nothing.
    for (QTextBlock block = leaving->begin(); block.isValid(); block = block.next())
        block.clearLayout();
    m_documents[from] = leaving;
}

void DocumentList::dropKept()
{
    for (QTextDocument*& kept : m_documents)
        delete std::exchange(kept, nullptr);
}

void DocumentList::replace(int index, DocumentStore::Origin origin, const QString& name,
                           const QByteArray& content)
{
    m_store.replace(index, origin, name, content);
    delete std::exchange(m_documents[index], nullptr);
    m_list.setItemText(index, name);
    if (index != m_store.curDoc())
        return;
    m_editor.setTextRTF(QString::fromLatin1(content));
    emit captionChanged(captionFor(name));
}

void DocumentList::addOpened(const QString& path, const QStringList& losses,
                             QTextDocument* document)
{
    m_store.setDocRTF(m_store.curDoc(), m_editor.rtfData(), m_editor.historyStep());
    m_editor.showDocument(document);
    const int index = add(DocumentStore::Origin::Opened, path, m_editor.rtfData());
    m_store.setLosses(index, losses);
    m_store.setCurDoc(index);
    selectEntry(index);
}

void DocumentList::replaceCurrentWithOpened(const QString& path, const QStringList& losses,
                                            QTextDocument* document)
{
    const int index = m_store.curDoc();
    m_editor.showDocument(document);
    m_store.replace(index, DocumentStore::Origin::Opened, path, m_editor.rtfData());
    m_store.setLosses(index, losses);
    m_list.setItemText(index, path);
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

bool DocumentList::isUnusedStartup() const
{
    return m_store.count() == 1 && !DocumentStore::isFilePath(m_store.name(0)) &&
           m_editor.Text().isEmpty() && !isModified(0);
}

QString DocumentList::captionFor(const QString& name)
{
    return name + QStringLiteral(" - Quillmere v1.0.1");
}
