#pragma once

#include "platform/rtf/CodePageDecoder.h"
#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfFontEntry.h"
#include "platform/rtf/RtfGroupState.h"
#include "platform/rtf/RtfKeywordTable.h"
#include "platform/rtf/RtfParagraphState.h"
#include "platform/rtf/RtfPicture.h"
#include "platform/rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QStringList>

#include <optional>
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
    void handleListTableWord(Keyword keyword, const RtfToken& token);
    void handleStyleSheetWord(Keyword keyword, const RtfToken& token);
    void handleLegacyNumberingWord(Keyword keyword);
    void handlePictureWord(Keyword keyword, const RtfToken& token);
    void commitListEntry();
    void commitStyle();
    void startFieldResult();
    void finishPicture();
    void addLoss(const QString& loss);
    void emitPendingCells();
    void handleFontTableWord(Keyword keyword, const RtfToken& token);
    void handleColorTableWord(Keyword keyword, const RtfToken& token);
    void handleControlSymbol(unsigned char symbol);
    void handleText(std::string_view bytes);
    void handleFontTableText(std::string_view bytes);
    void handleColorTableText(std::string_view bytes);
    void appendBytes(std::string_view bytes);
    void appendCharacter(char16_t character);
    void appendDecoded(QStringView text);
    void flushBytes();
    void endParagraph();
    void commitFontEntry();
    void commitColor();
    void tablesChanged();
    int currentFormatId();
    QTextCharFormat formatFor(const RtfCharState& chars) const;
    QString familyFor(int font) const;
    int codePageFor(int font) const;

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
    int m_defaultFont = RtfCharState::DefaultFont;
    RtfParagraphState m_paragraph;
    int m_pendingCells = 0;
    bool m_pendingCellBreak = false;
    QHash<int, RtfCharState> m_styleSheet;
    int m_styleNumber = 0;
    int m_styleBase = -1;

    QHash<int, QTextListFormat::Style> m_listStyles;
    QHash<int, QTextListFormat::Style> m_overrideStyles;
    int m_listId = 0;
    std::optional<QTextListFormat::Style> m_listStyle;

    QString m_fieldInstruction;
    QStringList m_links;
    QHash<QString, int> m_linkIndices;
    RtfPicture m_picture;
    QStringList m_losses;

    QHash<int, RtfFontEntry> m_fonts;
    RtfFontEntry m_fontEntry;
    int m_fontNumber = 0;
    bool m_fontEntryOpen = false;
    std::vector<std::optional<QColor>> m_colors;
    int m_rgb[3] = {0, 0, 0};
    bool m_colorSet = false;

    QHash<RtfCharState, int> m_formatIds;
    RtfCharState m_formatState;
    int m_formatId = -1;
};
