#pragma once

#include "platform/rtf/RtfRunStyle.h"
#include "platform/rtf/RtfStyleTable.h"

#include <QByteArray>
#include <QStringView>

class QTextBlock;
class QTextDocument;

/// Writes a QTextDocument as a complete RTF 1.x document.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument& document);

private:
    explicit RtfWriter(const QTextDocument& document);

    QByteArray run();
    QByteArray header();
    void writeBlock(const QTextBlock& block, QStringView documentText, bool previousWasBullet);
    bool writeRun(QStringView text, const RtfRunStyle& style);
    void writeStyle(const RtfRunStyle& style);
    void writeWord(QByteArray& out, const char* word);
    void writeWord(QByteArray& out, const char* word, int parameter);
    void writeText(QByteArray& out, QStringView text);
    char* writeSpecial(char* target, char16_t c);

    const QTextDocument& m_document;
    RtfStyleTable m_styles;
    QByteArray m_body;
    RtfRunStyle m_current;
    bool m_needsDelimiter = false;
};
