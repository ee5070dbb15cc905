#include "seed/SeedWords.h"

namespace {

constexpr QChar separator = QLatin1Char(' ');

} // namespace

SeedWords::SeedWords(const QString& text) : m_text(text)
{
    if (text.isEmpty())
        return;
    const char16_t* const begin = QStringView(text).utf16();
    const char16_t* const end = begin + text.size();
    m_kept.push_back(0);
    m_size = 1;
    for (const char16_t* c = begin; c != end; ++c) {
        if (*c != u' ')
            continue;
        if (m_size % stride == 0)
            m_kept.push_back(c - begin + 1);
        ++m_size;
    }
}

// Sharing the buffer means the same characters: a shared QString never changes in place.
bool SeedWords::isSplitOf(const QString& text) const
{
    return text.constData() == m_text.constData() && text.size() == m_text.size();
}

SeedWords::Cursor SeedWords::cursorAt(qsizetype index) const
{
    const qsizetype kept = index / stride;
    Cursor cursor(m_text, kept * stride, m_kept[std::size_t(kept)]);
    cursor.advanceTo(index);
    return cursor;
}

SeedWords::Cursor::Cursor(const QString& text, qsizetype index, qsizetype begin)
    : m_text(&text), m_index(index), m_begin(begin)
{
    const qsizetype space = text.indexOf(separator, begin);
    m_end = space < 0 ? text.size() : space;
}

void SeedWords::Cursor::advanceTo(qsizetype index)
{
    for (; m_index < index; ++m_index) {
        m_begin = m_end + 1;
        const qsizetype space = m_text->indexOf(separator, m_begin);
        m_end = space < 0 ? m_text->size() : space;
    }
}
