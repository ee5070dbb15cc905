#pragma once

#include "platform/rtf/CodePageDecoder.h"
#include "platform/rtf/RtfColorTable.h"
#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfFontTable.h"
#include "platform/rtf/RtfGroupState.h"
#include "platform/rtf/RtfKeywordTable.h"
#include "platform/rtf/RtfLinkTable.h"
#include "platform/rtf/RtfListTable.h"
#include "platform/rtf/RtfParagraphState.h"
#include "platform/rtf/RtfPicture.h"
#include "platform/rtf/RtfStyleSheet.h"
#include "platform/rtf/RtfTokenizer.h"

#include <QHash>
#include <QStringList>

#include <vector>

/// Interprets an RTF token stream: groups, destinations, tables, formatting and text.
/// Work per token is bounded, so any input is read in linear time and memory.
class RtfParser
{
public:
    /// data must begin at the document's opening brace.
    RtfParser(QByteArrayView data, QTextDocument* document);

    void parse();
    /// What the document held that the reader could not keep, each named once.
    QStringList losses() const { return m_losses; }

private:
    using Destination = RtfGroupState::Destination;
    using Keyword = RtfKeywordTable::Keyword;

    RtfGroupState& state() { return m_groups.back(); }
    void handleToken(RtfToken token);
    bool skipFallback(RtfToken& token);
    void openGroup();
    void closeGroup();
    void handleControlWord(const RtfToken& token, bool afterStar);
    bool handleDestinationWord(Keyword keyword);
    bool handleEncodingWord(Keyword keyword, const RtfToken& token);
    void handleBodyWord(RtfKeywordTable::Entry entry, const RtfToken& token);
    void applyCharacterWord(Keyword keyword, const RtfToken& token);
    bool applyParagraphWord(Keyword keyword, const RtfToken& token);
    void handleLegacyNumberingWord(Keyword keyword);
    void handlePictureWord(Keyword keyword, const RtfToken& token);
    void finishPicture();
    void addLoss(const QString& loss);
    void emitPendingCells();
    void handleControlSymbol(unsigned char symbol);
    void handleText(std::string_view bytes);
    void handleFontTableText(std::string_view bytes);
    void appendBytes(std::string_view bytes);
    void appendCharacter(char16_t character);
    void appendDecoded(QStringView text);
    void flushBytes();
    void endParagraph();
    void commitFontEntry();
    void tablesChanged();
    int currentFormatId();
    QTextCharFormat formatFor(const RtfCharState& chars) const;

    RtfTokenizer m_tokenizer;
    RtfDocumentBuilder m_builder;
    CodePageDecoder m_decoder;
    std::vector<RtfGroupState> m_groups;
    int m_overflowDepth = 0;
    bool m_finished = false;
    bool m_destinationPending = false;
    int m_fallbackLeft = 0;
    QByteArray m_bytes;
    QString m_decoded;

    int m_ansiCodePage = 1252;
    RtfParagraphState m_paragraph;
    int m_pendingCells = 0;
    bool m_pendingCellBreak = false;

    RtfFontTable m_fonts;
    RtfColorTable m_colors;
    RtfStyleSheet m_styleSheet;
    RtfListTable m_lists;
    RtfLinkTable m_links;
    RtfPicture m_picture;
    QStringList m_losses;

    QHash<RtfCharState, int> m_formatIds;
    RtfCharState m_formatState;
    int m_formatId = -1;
};
