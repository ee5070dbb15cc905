#pragma once

#include <QByteArray>

#include <string_view>

/// A growing byte buffer written through raw pointers, so hot loops pay no per-byte checks.
class RtfByteSink
{
public:
    explicit RtfByteSink(qsizetype capacity);

    /// Makes room for count more bytes and returns where they go; commit() says how many were used.
    char* reserve(qsizetype count);
    void commit(const char* end);
    void append(std::string_view bytes);
    qsizetype size() const { return m_size; }
    /// The bytes written so far; the sink is empty afterwards.
    QByteArray take();

private:
    QByteArray m_data;
    qsizetype m_size = 0;
};
