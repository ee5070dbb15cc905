#include "documents/DocumentStore.h"

#include <QDir>
#include <QRegularExpression>

#include <utility>

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
    m_docs.append(Slot{});
    replace(count() - 1, origin, name, content);
    return count() - 1;
}

void DocumentStore::replace(int index, Origin origin, const QString& name,
                            const QByteArray& content)
{
    const QByteArray recorded = origin == Origin::New ? QByteArray() : content;
    m_docs[index] =
        Slot{name, recorded, recorded, origin == Origin::Opened ? content : m_blank, {}, 0, 0};
    // Restored documents keep their numbers, so new ones must count on from the highest.
    static const QRegularExpression untitled(QStringLiteral("^Untitled([1-9][0-9]{0,8})$"));
    if (const QRegularExpressionMatch number = untitled.match(name); number.hasMatch())
        m_untitledCount = qMax(m_untitledCount, number.captured(1).toInt());
}

int DocumentStore::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (m_docs.at(i).name == name)
            return i;
    return -1;
}

bool DocumentStore::isModified(int index, const QByteArray& content) const
{
    return (content.isEmpty() ? m_blank : content) != m_docs.at(index).saved;
}

void DocumentStore::setDocRTF(int index, const QByteArray& content, int step)
{
    m_docs[index].latest = content;
    m_docs[index].latestStep = step;
}

void DocumentStore::restartSteps(int index, int step)
{
    m_docs[index].latestStep = step;
    m_docs[index].previousStep = -1;
}

bool DocumentStore::recordChange(const QByteArray& content, int step)
{
    Slot& doc = m_docs[m_curDoc];
    // A copy of the stored state is recognised without reading it byte by byte.
    const bool same = content.isSharedWith(doc.latest) || content == doc.latest;
    if (same || (doc.latest.isEmpty() && content == m_blank)) {
        // Keeping one shared copy makes the next comparison of the same content instant.
        doc.latest = content;
        doc.latestStep = step;
        return false;
    }
    doc.previous = std::exchange(doc.latest, content);
    doc.previousStep = std::exchange(doc.latestStep, step);
    return true;
}

QByteArray DocumentStore::undo(const QByteArray& current, int step)
{
    Slot& doc = m_docs[m_curDoc];
    doc.latest = std::exchange(doc.previous, current);
    doc.latestStep = std::exchange(doc.previousStep, step);
    return doc.latest;
}

bool DocumentStore::isFilePath(const QString& name)
{
    return QDir::isAbsolutePath(name);
}
