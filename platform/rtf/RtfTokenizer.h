#pragma once

#include "platform/rtf/RtfToken.h"

#include <QByteArrayView>

/// Splits RTF bytes into tokens in one forward pass; every call consumes input, so it cannot loop.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView data);

    RtfToken next();
    /// Skips the raw payload of \binN and returns it; a count past the end stops at the end.
    std::string_view skipBytes(qint64 count);
    /// The bytes read so far, of size() in all.
    qsizetype consumed() const { return m_pos - m_begin; }
    qsizetype size() const { return m_end - m_begin; }

private:
    RtfToken readControl();
    RtfToken readControlWord();
    RtfToken readHexByte();
    RtfToken readText();
    int readParameter();

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
};
