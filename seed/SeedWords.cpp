#include "seed/SeedWords.h"

SeedWords::SeedWords(const QString& text) : m_text(text)
{
    const QChar* const begin = text.constData();
    const QChar* const end = begin + text.size();
    for (const QChar* c = begin; c != end; ++c)
        if (*c == QLatin1Char(' '))
            m_separators.push_back(c - begin);
}

// Sharing the buffer means the same characters: a shared QString never changes in place.
bool SeedWords::isSplitOf(const QString& text) const
{
    return text.constData() == m_text.constData() && text.size() == m_text.size();
}

QStringView SeedWords::at(qsizetype index) const
{
    const auto i = std::size_t(index);
    const qsizetype from = i == 0 ? 0 : m_separators[i - 1] + 1;
    const qsizetype to = i < m_separators.size() ? m_separators[i] : m_text.size();
    return QStringView(m_text).mid(from, to - from);
}
