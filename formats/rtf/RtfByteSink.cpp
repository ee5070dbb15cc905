#include "formats/rtf/RtfByteSink.h"

#include <algorithm>
#include <cstring>
#include <utility>

RtfByteSink::RtfByteSink(qsizetype capacity)
{
    m_data.resize(capacity);
}

char* RtfByteSink::reserve(qsizetype count)
{
    if (m_size + count > m_data.size())
        m_data.resize(std::max(m_data.size() * 2, m_size + count));
    return m_data.data() + m_size;
}

void RtfByteSink::commit(const char* end)
{
    m_size = end - m_data.constData();
}

void RtfByteSink::append(std::string_view bytes)
{
    char* target = reserve(qsizetype(bytes.size()));
    std::memcpy(target, bytes.data(), bytes.size());
    m_size += qsizetype(bytes.size());
}

QByteArray RtfByteSink::take()
{
    m_data.resize(std::exchange(m_size, 0));
    return std::exchange(m_data, QByteArray());
}
