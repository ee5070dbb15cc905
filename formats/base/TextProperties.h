#pragma once

#include <QTextFormat>

#include <atomic>
#include <string_view>

/// What a document holds that Qt's formats have no property for, kept in user properties, which
/// Qt copies and keeps but never draws. Every format reads and writes them alike.
struct TextProperties
{
    /// The block property holding a paragraph's tab leaders, one character per tab stop, which
    /// Qt's tab stops cannot carry: a space for none, then as tabLeaders() names them.
    static constexpr int TabLeaders = QTextFormat::UserProperty + 1;
    /// The list format properties holding what Qt's lists cannot show: the number the list
    /// starts at, and the number text of a level that shows several levels' numbers, as the
    /// RTF list table gives it.
    static constexpr int ListStart = QTextFormat::UserProperty + 2;
    static constexpr int ListLevelText = QTextFormat::UserProperty + 3;
    /// Hidden text (\v) is kept out of the text, which shows, counts and spells only what is
    /// seen: each run of it is one object character of this type, of no size, holding the
    /// run's text in HiddenText.
    static constexpr int HiddenTextObject = QTextFormat::UserObject + 1;
    static constexpr int HiddenText = QTextFormat::UserProperty + 4;
    /// The list format property naming which of the file's lists (\lsN) a list is, so two lists
    /// that look alike stay two lists, each numbered from its own start.
    static constexpr int ListId = QTextFormat::UserProperty + 5;
    /// The table format property holding a border thinner than a pixel in twips, as the file
    /// gave it: Qt draws no such border, so it is drawn a pixel wide and written back as it was.
    static constexpr int TableBorderTwips = QTextFormat::UserProperty + 6;
    /// The character property marking seed words the program wrote and the writer has not
    /// changed: the number of the run they came with, unique in the process, so runs pasted or
    /// read from a file never merge with others.
    static constexpr int SeedRun = QTextFormat::UserProperty + 7;
    /// Beside SeedRun on an injected run: how many characters, paragraph breaks left out, the
    /// run had when it was written. Runs read from files do without.
    static constexpr int SeedRunLength = QTextFormat::UserProperty + 8;
    /// Beside them: how many words and paragraph breaks the run had when written, so what
    /// became of its words is known after edits, and a paragraph broken inside it is an edit.
    /// A run with no words known has no breaks known either.
    static constexpr int SeedRunWords = QTextFormat::UserProperty + 9;
    static constexpr int SeedRunBreaks = QTextFormat::UserProperty + 10;
    /// The block property of a piece of a long paragraph held as several blocks: what stands
    /// between it and the block before in the paragraph (ParagraphPieces::Joint).
    static constexpr int ParagraphJoint = QTextFormat::UserProperty + 11;
    static qint64 newSeedRun()
    {
        static std::atomic<qint64> last{0};
        return ++last;
    }
    /// The leaders of \tldot, \tlhyph, \tlul, \tlth, \tleq and \tlmdot, in that order.
    static constexpr std::u16string_view tabLeaders() { return u".-_t=m"; }
    static constexpr char16_t tabLeader(int index) { return tabLeaders()[size_t(index)]; }
};
