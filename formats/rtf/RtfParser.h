#pragma once

#include "formats/base/DocumentInfo.h"
#include "formats/base/Progress.h"
#include "formats/rtf/RtfBodyText.h"
#include "formats/rtf/RtfBuildStream.h"
#include "formats/rtf/RtfColorTable.h"
#include "formats/rtf/RtfFontTable.h"
#include "formats/rtf/RtfFormatIds.h"
#include "formats/rtf/RtfGroupState.h"
#include "formats/rtf/RtfKeywordTable.h"
#include "formats/rtf/RtfLinkTable.h"
#include "formats/rtf/RtfListTable.h"
#include "formats/rtf/RtfLosses.h"
#include "formats/rtf/RtfPicture.h"
#include "formats/rtf/RtfStyleSheet.h"
#include "formats/rtf/RtfTextDecoder.h"
#include "formats/rtf/RtfTokenizer.h"

#include <QStringList>

#include <unordered_map>
#include <vector>

/// Interprets an RTF token stream: keeps the stack of group states, with the character
/// formatting and the destination each group is in, decodes text, and hands each word and each
/// piece of text to the destination in force. Work per token is bounded, so any input is read in
/// linear time and memory.
class RtfParser
{
public:
    /// data must begin just inside the document's opening brace, at its \\rtf; sink takes what
    /// the document is to hold, in chunks.
    RtfParser(QByteArrayView data, RtfBuildStream::Sink sink);

    /// Reads the whole input, telling progress, when given, the bytes read now and then.
    void parse(const Progress& progress = {});
    /// What the document held that the reader could not keep, each named once.
    QStringList losses() const { return m_losses.list(); }
    const RtfPage& page() const { return m_body.page(); }

private:
    using Destination = RtfGroupState::Destination;
    using Keyword = RtfKeywordTable::Keyword;

    /// Nested groups that change nothing share one entry, so deep nesting costs memory only
    /// where formatting changes.
    struct GroupLevel
    {
        RtfGroupState state;
        size_t groups = 1;
    };

    const RtfGroupState& state() const { return m_groups.back().state; }
    /// The innermost group's state, made its own before it changes.
    RtfGroupState& changeState();
    void handleToken(const RtfToken& token);
    void handleContent(const RtfToken& token);
    bool skipFallback(RtfToken& token);
    void openGroup();
    void closeGroup();
    void handleControlWord(const RtfToken& token, bool afterStar);
    void handleWordIn(Destination destination, const RtfKeywordTable::Entry& entry,
                      const RtfToken& token);
    /// Words that open a destination or a field; true when the word is used up.
    bool handleDestinationWord(Keyword keyword);
    /// A footnote, header or footer: read as a story of its own, or skipped where it cannot be.
    void openStory(Keyword keyword);
    /// \listlevel, \leveltext, \pntxtb and \pntxta: the number texts of lists.
    bool handleListTextWord(Keyword keyword);
    void openTable(Keyword keyword);
    /// \info, \title and \author.
    void openInfo(Keyword keyword);
    /// \field, \fldinst and \fldrslt.
    bool handleFieldWord(Keyword keyword);
    /// Destinations that open only from the body's text: elsewhere their words are left to the
    /// destination in force.
    bool openBodyDestination(Keyword keyword);
    bool handleEncodingWord(Keyword keyword, const RtfToken& token);
    void appendUnicode(int parameter);
    /// Appends the sign a byte stands for in the current font, when that is a symbol font.
    Q_DECL_COLD_FUNCTION bool appendSymbolSign(unsigned char byte);
    void handleBodyWord(RtfKeywordTable::Entry entry, const RtfToken& token);
    void applyCharacterWord(Keyword keyword, const RtfToken& token);
    void finishPicture();
    void handleControlSymbol(unsigned char symbol);
    void handleText(std::string_view bytes);
    void handleFontTableText(std::string_view bytes);
    void appendBytes(std::string_view bytes);
    void appendCharacter(char16_t character)
    {
        flushBytes();
        if (state().destination == Destination::Body && !state().chars.hidden)
            m_body.appendCharacter(character, currentFormatId());
        else
            appendDecoded(QStringView(&character, 1));
    }
    void appendDecoded(QStringView text);
    void flushBytes()
    {
        if (!m_text.isEmpty())
            decodeBytes();
    }
    void decodeBytes();
    void commitFontEntry();
    void tablesChanged();
    int currentFormatId() { return m_formats.current(state().chars); }

    RtfTokenizer m_tokenizer;
    RtfBuildStream m_stream;
    std::vector<GroupLevel> m_groups;
    size_t m_depth = 1;
    bool m_finished = false;
    bool m_groupStart = false;
    bool m_destinationPending = false;
    int m_fallbackLeft = 0;

    RtfFontTable m_fonts;
    RtfColorTable m_colors;
    RtfStyleSheet m_styleSheet;
    /// The file's numbers of seed runs, and the numbers their pieces get in this reading.
    std::unordered_map<int, qint64> m_seedRuns;
    RtfListTable m_lists;
    RtfLinkTable m_links;
    RtfPicture m_picture;
    RtfTextDecoder m_text{m_fonts};
    RtfLosses m_losses;
    RtfFormatIds m_formats{m_stream, m_fonts, m_colors, m_links};
    RtfBodyText m_body{m_stream, m_formats, m_lists};
    DocumentInfo m_info;
};
