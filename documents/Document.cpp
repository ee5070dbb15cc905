#include "documents/Document.h"

#include <QDir>
#include <QTextDocument>

#include <algorithm>
#include <utility>

Document::Document(Origin origin, const QString& name, const QByteArray& content,
                   const QByteArray& blank)
    : m_origin(origin), m_name(name), m_blank(blank)
{
    m_latest = m_previous = origin == Origin::New ? QByteArray() : content;
    m_saved = origin == Origin::Opened ? content : blank;
}

Document::~Document() = default;

void Document::setDocRTF(const QByteArray& content, int step)
{
    m_latest = content;
    m_latestStep = step;
}

void Document::restartSteps(int step)
{
    m_latestStep = step;
    m_previousStep = -1;
}

bool Document::recordChange(const QByteArray& content, int step)
{
    // A copy of the stored state is recognised without reading it byte by byte.
    const bool same = content.isSharedWith(m_latest) || content == m_latest;
    if (same || (m_latest.isEmpty() && content == m_blank)) {
        // Keeping one shared copy makes the next comparison of the same content instant.
        m_latest = content;
        m_latestStep = step;
        return false;
    }
    m_previous = std::exchange(m_latest, content);
    m_previousStep = std::exchange(m_latestStep, step);
    return true;
}

QByteArray Document::undo(const QByteArray& current, int step)
{
    m_latest = std::exchange(m_previous, current);
    m_latestStep = std::exchange(m_previousStep, step);
    return m_latest;
}

void Document::markSaved(const QByteArray& content)
{
    m_saved = content;
    m_losses.clear();
}

bool Document::isModified(const QByteArray& content) const
{
    return (content.isEmpty() ? m_blank : content) != m_saved;
}

void Document::keep(QTextDocument* text)
{
    text->setParent(nullptr);
    m_kept.reset(text);
}

QTextDocument* Document::takeKept()
{
    return m_kept.release();
}

bool Document::isFilePath(const QString& name)
{
    return QDir::isAbsolutePath(name);
}

bool Document::acceptsLosses(const DocumentFormats::Format& format, const QStringList& losses) const
{
    if (losses.isEmpty())
        return true;
    return &format == m_lossyFormat &&
           std::all_of(losses.cbegin(), losses.cend(),
                       [this](const QString& loss) { return m_acceptedLosses.contains(loss); });
}

void Document::acceptLosses(const DocumentFormats::Format& format, const QStringList& losses)
{
    m_lossyFormat = &format;
    m_acceptedLosses = losses;
}
