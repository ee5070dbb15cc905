#pragma once

#include "platform/rtf/RtfByteSink.h"
#include "platform/rtf/RtfRunStyle.h"
#include "platform/rtf/RtfStyleTable.h"

#include <QByteArray>
#include <QStringView>

#include <string_view>

class QTextBlock;
class QTextDocument;
class QTextImageFormat;
class QTextList;

/// One pass over a document's blocks and fragments that produces its RTF; use it once.
class RtfDocumentWriter
{
public:
    explicit RtfDocumentWriter(const QTextDocument& document);

    QByteArray write();

private:
    void writeHeader(RtfByteSink& out);
    void writeParagraphStart(const QTextBlock& block, const QTextList* list,
                             const QByteArray& properties, const QByteArray& previousProperties);
    void writeListMarker(const QTextBlock& block, const QTextList& list);
    void writeBlock(const QTextBlock& block, QStringView documentText);
    bool writeRun(QStringView text, const RtfRunStyle& style);
    bool writeImage(const QTextImageFormat& format);
    void openLink(const QString& link);
    void closeLink();
    void openVertical(int vertical);
    void closeVertical();
    void writeStyle(const RtfRunStyle& style);
    void writeWord(RtfByteSink& out, std::string_view word);
    void writeWord(RtfByteSink& out, std::string_view word, int parameter);
    void writeText(RtfByteSink& out, QStringView text);
    char* writeSpecial(char* target, char16_t c);

    const QTextDocument& m_document;
    RtfStyleTable m_styles;
    RtfByteSink m_body;
    RtfRunStyle m_current;
    /// The style outside the open hyperlink field, which its closing brace brings back.
    RtfRunStyle m_outsideLink;
    QString m_openLink;
    /// Super- and subscript travel in a group of their own: readers disagree on switching
    /// them off, but all of them close a group.
    RtfRunStyle m_outsideVertical;
    int m_openVertical = 0;
    bool m_needsDelimiter = false;
};
