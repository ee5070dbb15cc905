#include "documents/DocumentList.h"

#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QTextBlock>
#include <QTextDocument>

DocumentList::DocumentList(RichTextBox& editor, QComboBox& list, QObject* parent)
    : QObject(parent), m_editor(editor), m_list(list)
{
}

void DocumentList::startup()
{
    m_store.reset(m_editor.rtfData());
    m_list.clear();
    m_list.addItem(m_store.at(0).name());
    emit added(&m_store.at(0));
    selectEntry(0);
}

void DocumentList::cmbFiles_Click()
{
    const int selected = m_list.currentIndex();
    if (selected != m_store.curDoc())
        show(selected);
    else
        storeCurrent();
    emit currentChanged(&m_store.current());
    // Before the window is first shown the list keeps the focus it gets then.
    if (m_editor.isVisible())
        m_editor.SetFocus();
}

// Only the document left last is kept whole: going back and forth between two costs no
// reading, and a document in memory takes several times the room of the RTF the store keeps.
void DocumentList::show(int to)
{
    QTextDocument* leaving = m_editor.document();
    QTextDocument* kept = m_store.at(to).takeKept();
    dropKept();
    if (m_store.curDoc() >= 0) {
        storeCurrent();
        m_store.current().setPlace(m_editor.place());
        // Laid out again when shown; meanwhile its layout would hold memory for nothing.
        for (QTextBlock block = leaving->begin(); block.isValid(); block = block.next())
            block.clearLayout();
        m_store.current().keep(leaving);
    }
    m_store.setCurDoc(to);
    if (kept) {
        m_editor.showDocument(kept);
    } else {
        m_editor.setTextRTF(QString::fromLatin1(m_store.docRTF(to)));
        m_store.current().restartSteps(m_editor.historyStep());
    }
    m_editor.restorePlace(m_store.current().place());
}

void DocumentList::mnuNew_Click()
{
    storeCurrent();
    selectEntry(add(m_store.create(Document::Origin::New, m_store.nextUntitledName())));
    m_editor.setTextRTF(QString());
}

void DocumentList::mnuNextDocument_Click()
{
    selectEntry((m_store.curDoc() + 1) % m_store.count());
}

void DocumentList::mnuPreviousDocument_Click()
{
    selectEntry((m_store.curDoc() + m_store.count() - 1) % m_store.count());
}

int DocumentList::add(std::unique_ptr<Document> document, QTextDocument* text)
{
    Document* added = document.get();
    giveFreeName(*added, -1);
    if (text)
        added->keep(text);
    const int index = m_store.add(std::move(document));
    m_list.addItem(added->name());
    emit this->added(added);
    return index;
}

void DocumentList::replace(int index, std::unique_ptr<Document> document, QTextDocument* text)
{
    Document* added = document.get();
    giveFreeName(*added, index);
    if (text)
        added->keep(text);
    emit closed(&m_store.at(index));
    const std::unique_ptr<Document> closed = m_store.replace(index, std::move(document));
    m_list.setItemText(index, added->name());
    // The editor's text was the closed document's: it goes with it, and the new one is shown.
    const bool current = index == m_store.curDoc();
    if (current)
        m_store.setCurDoc(-1);
    emit this->added(added);
    if (current)
        selectEntry(index);
}

// "Untitled" numbers are never used twice: one that arrives in use, as a restored document's
// may, is given the next.
void DocumentList::giveFreeName(Document& document, int replacing)
{
    const int holder = m_store.indexOf(document.name());
    if (!document.hasFile() && holder >= 0 && holder != replacing)
        document.setName(m_store.nextUntitledName());
}

void DocumentList::selectEntry(int index)
{
    m_list.setCurrentIndex(index);
    cmbFiles_Click();
}

void DocumentList::setPlace(int index, const TextPlace& place)
{
    m_store.at(index).setPlace(place);
    if (index == m_store.curDoc())
        m_editor.restorePlace(place);
}

TextPlace DocumentList::placeOf(int index) const
{
    return index == m_store.curDoc() ? m_editor.place() : m_store.at(index).place();
}

void DocumentList::storeCurrent()
{
    m_store.current().setDocRTF(m_editor.rtfData(), m_editor.historyStep());
}

void DocumentList::markSaved(int index, const QString& path, const DocumentFormats::Format& format,
                             const FileStamp& stamp)
{
    Document& document = m_store.at(index);
    document.setFormat(format);
    document.setStamp(stamp);
    document.markSaved(contentOf(index));
    if (document.name() != path) {
        document.setName(path);
        m_list.setItemText(index, path);
        emit renamed(&document);
    }
    emit saved(&document);
}

void DocumentList::dropKept()
{
    for (int i = 0; i < m_store.count(); ++i)
        delete m_store.at(i).takeKept();
}

QByteArray DocumentList::contentOf(int index) const
{
    return index == m_store.curDoc() ? m_editor.rtfData() : m_store.docRTF(index);
}

bool DocumentList::isModified(int index) const
{
    return m_store.at(index).isModified(contentOf(index));
}

bool DocumentList::isUnusedStartup() const
{
    return m_store.count() == 1 && !m_store.at(0).hasFile() && m_editor.Text().isEmpty() &&
           !isModified(0);
}

QString DocumentList::captionFor(const QString& name)
{
    return name + QStringLiteral(" - Quillmere v" QUILLMERE_VERSION);
}
