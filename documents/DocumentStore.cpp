#include "documents/DocumentStore.h"

#include <QDir>

void DocumentStore::reset(const QByteArray& blankContent)
{
    m_blank = blankContent;
    m_docs.clear();
    m_curDoc = 0;
    m_untitledCount = 1;
    add(Origin::New, QStringLiteral("Untitled1"));
}

QString DocumentStore::nextUntitledName()
{
    ++m_untitledCount;
    return QStringLiteral("Untitled%1").arg(m_untitledCount);
}

int DocumentStore::add(Origin origin, const QString& name, const QByteArray& content)
{
    const QByteArray recorded = origin == Origin::New ? QByteArray() : content;
    m_docs.append(Slot{name, recorded, recorded, origin == Origin::Opened ? content : m_blank});
    return count() - 1;
}

bool DocumentStore::isModified(int index, const QByteArray& content) const
{
    return (content.isEmpty() ? m_blank : content) != m_docs.at(index).saved;
}

bool DocumentStore::recordChange(const QByteArray& content)
{
    Slot& doc = m_docs[m_curDoc];
    // A copy of the stored state is recognised without reading it byte by byte.
    const bool same = content.isSharedWith(doc.latest) || content == doc.latest;
    if (same || (doc.latest.isEmpty() && content == m_blank)) {
        // Keeping one shared copy makes the next comparison of the same content instant.
        doc.latest = content;
        return false;
    }
    doc.previous = doc.latest;
    doc.latest = content;
    return true;
}

QByteArray DocumentStore::undo(const QByteArray& current)
{
    Slot& doc = m_docs[m_curDoc];
    doc.latest = doc.previous;
    doc.previous = current;
    return doc.latest;
}

bool DocumentStore::isFilePath(const QString& name)
{
    return QDir::isAbsolutePath(name);
}
