#include "documents/DocumentStore.h"

#include <QRegularExpression>

#include <utility>

void DocumentStore::reset(const QByteArray& blankContent)
{
    m_blank = blankContent;
    m_docs.clear();
    m_curDoc = 0;
    m_untitledCount = 1;
    add(create(Document::Origin::New, QStringLiteral("Untitled1")));
}

QString DocumentStore::nextUntitledName()
{
    ++m_untitledCount;
    return QStringLiteral("Untitled%1").arg(m_untitledCount);
}

std::unique_ptr<Document> DocumentStore::create(Document::Origin origin, const QString& name,
                                                const QByteArray& content) const
{
    return std::make_unique<Document>(origin, name, content, m_blank);
}

int DocumentStore::add(std::unique_ptr<Document> document)
{
    countName(document->name());
    m_docs.push_back(std::move(document));
    return count() - 1;
}

std::unique_ptr<Document> DocumentStore::replace(int index, std::unique_ptr<Document> document)
{
    countName(document->name());
    return std::exchange(m_docs.at(size_t(index)), std::move(document));
}

void DocumentStore::countName(const QString& name)
{
    static const QRegularExpression untitled(QStringLiteral("^Untitled([1-9][0-9]{0,8})$"));
    if (const QRegularExpressionMatch number = untitled.match(name); number.hasMatch())
        m_untitledCount = qMax(m_untitledCount, number.captured(1).toInt());
}

int DocumentStore::indexOf(const Document* document) const
{
    for (int i = 0; i < count(); ++i)
        if (m_docs[size_t(i)].get() == document)
            return i;
    return -1;
}

int DocumentStore::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (at(i).name() == name)
            return i;
    return -1;
}
