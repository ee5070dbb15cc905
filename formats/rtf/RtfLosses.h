#pragma once

#include <QString>
#include <QStringList>

/// What a document held that reading could not keep, each named once, in the order met.
class RtfLosses
{
public:
    void add(const QString& loss)
    {
        if (!m_losses.contains(loss))
            m_losses.append(loss);
    }
    const QStringList& list() const { return m_losses; }

private:
    QStringList m_losses;
};
