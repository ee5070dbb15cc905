#include "formats/rtf/RtfKeywordTable.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

using Keyword = RtfKeywordTable::Keyword;
using Word = std::pair<std::string_view, RtfKeywordTable::Entry>;

constexpr Word s_words[] = {
    {"ansi", {Keyword::Ansi}},
    {"ansicpg", {Keyword::AnsiCodePage}},
    {"mac", {Keyword::Mac}},
    {"pc", {Keyword::Pc}},
    {"pca", {Keyword::Pca}},
    {"deff", {Keyword::DefaultFont}},
    {"cpg", {Keyword::CodePage}},
    {"fcharset", {Keyword::FontCharset}},
    {"froman", {Keyword::FontRoman}},
    {"fswiss", {Keyword::FontSwiss}},
    {"fmodern", {Keyword::FontModern}},
    {"fscript", {Keyword::FontScript}},
    {"fdecor", {Keyword::FontDecor}},
    {"bin", {Keyword::Binary}},
    {"uc", {Keyword::UnicodeSkip}},
    {"u", {Keyword::Unicode}},
    {"fonttbl", {Keyword::FontTable}},
    {"colortbl", {Keyword::ColorTable}},
    {"red", {Keyword::Red}},
    {"green", {Keyword::Green}},
    {"blue", {Keyword::Blue}},
    {"pn", {Keyword::LegacyBullet}},
    {"pntext", {Keyword::LegacyBulletText}},
    // Metadata, page furniture, pictures, objects, fields' instructions and list machinery.
    {"stylesheet", {Keyword::StyleSheet}},
    {"info", {Keyword::Info}},
    {"header", {Keyword::Header}},
    {"headerl", {Keyword::HeaderLeft}},
    {"headerr", {Keyword::HeaderRight}},
    {"headerf", {Keyword::HeaderFirst}},
    {"footer", {Keyword::Footer}},
    {"footerl", {Keyword::FooterLeft}},
    {"footerr", {Keyword::FooterRight}},
    {"footerf", {Keyword::FooterFirst}},
    {"footnote", {Keyword::Footnote}},
    {"chftn", {Keyword::FootnoteMark}},
    {"ftnalt", {Keyword::Endnote}},
    {"chpgn", {Keyword::PageNumber}},
    {"titlepg", {Keyword::TitlePage}},
    {"facingp", {Keyword::FacingPages}},
    {"headery", {Keyword::HeaderY}},
    {"footery", {Keyword::FooterY}},
    // Section-wide numbering stands for the document's, which one section seldom differs from.
    {"ftnnar", {Keyword::FootnoteArabic}},
    {"ftnnalc", {Keyword::FootnoteLowerLetter}},
    {"ftnnauc", {Keyword::FootnoteUpperLetter}},
    {"ftnnrlc", {Keyword::FootnoteLowerRoman}},
    {"ftnnruc", {Keyword::FootnoteUpperRoman}},
    {"ftnnchi", {Keyword::FootnoteSymbols}},
    {"sftnnar", {Keyword::FootnoteArabic}},
    {"sftnnalc", {Keyword::FootnoteLowerLetter}},
    {"sftnnauc", {Keyword::FootnoteUpperLetter}},
    {"sftnnrlc", {Keyword::FootnoteLowerRoman}},
    {"sftnnruc", {Keyword::FootnoteUpperRoman}},
    {"sftnnchi", {Keyword::FootnoteSymbols}},
    {"aftnnar", {Keyword::EndnoteArabic}},
    {"aftnnalc", {Keyword::EndnoteLowerLetter}},
    {"aftnnauc", {Keyword::EndnoteUpperLetter}},
    {"aftnnrlc", {Keyword::EndnoteLowerRoman}},
    {"aftnnruc", {Keyword::EndnoteUpperRoman}},
    {"aftnnchi", {Keyword::EndnoteSymbols}},
    {"saftnnar", {Keyword::EndnoteArabic}},
    {"saftnnalc", {Keyword::EndnoteLowerLetter}},
    {"saftnnauc", {Keyword::EndnoteUpperLetter}},
    {"saftnnrlc", {Keyword::EndnoteLowerRoman}},
    {"saftnnruc", {Keyword::EndnoteUpperRoman}},
    {"saftnnchi", {Keyword::EndnoteSymbols}},
    {"ftnstart", {Keyword::FootnoteStart}},
    {"aftnstart", {Keyword::EndnoteStart}},
    {"sftnstart", {Keyword::FootnoteStart}},
    {"saftnstart", {Keyword::EndnoteStart}},
    {"annotation", {Keyword::SkippedDestination}},
    {"pict", {Keyword::Picture}},
    {"shppict", {Keyword::Transparent}},
    {"field", {Keyword::Field}},
    {"fldrslt", {Keyword::FieldResult}},
    {"nonshppict", {Keyword::SkippedDestination}},
    // Nested table rows hold their \nestrow; \nonesttables repeats nested cells' text.
    {"nesttableprops", {Keyword::Transparent}},
    {"nonesttables", {Keyword::SkippedDestination}},
    {"shp", {Keyword::SkippedDestination}},
    {"object", {Keyword::Object}},
    {"fldinst", {Keyword::FieldInstruction}},
    {"generator", {Keyword::SkippedDestination}},
    {"listtext", {Keyword::SkippedDestination}},
    {"listtable", {Keyword::ListTable}},
    {"listoverridetable", {Keyword::ListOverrideTable}},
    {"pnseclvl", {Keyword::SkippedDestination}},
    {"pntxta", {Keyword::LegacyTextAfter}},
    {"pntxtb", {Keyword::LegacyTextBefore}},
    {"pnstart", {Keyword::LegacyStart}},
    {"levelstartat", {Keyword::LevelStartAt}},
    {"ilvl", {Keyword::ListLevelNumber}},
    {"revtbl", {Keyword::SkippedDestination}},
    {"rsidtbl", {Keyword::SkippedDestination}},
    {"filetbl", {Keyword::SkippedDestination}},
    {"xmlnstbl", {Keyword::SkippedDestination}},
    {"themedata", {Keyword::SkippedDestination}},
    {"colorschememapping", {Keyword::SkippedDestination}},
    {"latentstyles", {Keyword::SkippedDestination}},
    {"datastore", {Keyword::SkippedDestination}},
    {"template", {Keyword::SkippedDestination}},
    {"userprops", {Keyword::SkippedDestination}},
    {"docvar", {Keyword::SkippedDestination}},
    {"xe", {Keyword::SkippedDestination}},
    {"tc", {Keyword::SkippedDestination}},
    {"txe", {Keyword::SkippedDestination}},
    {"rxe", {Keyword::SkippedDestination}},
    {"bkmkstart", {Keyword::SkippedDestination}},
    {"bkmkend", {Keyword::SkippedDestination}},
    {"ftnsep", {Keyword::SkippedDestination}},
    {"ftnsepc", {Keyword::SkippedDestination}},
    {"ftncn", {Keyword::SkippedDestination}},
    {"aftnsep", {Keyword::SkippedDestination}},
    {"aftnsepc", {Keyword::SkippedDestination}},
    {"aftncn", {Keyword::SkippedDestination}},
    {"author", {Keyword::Author}},
    {"operator", {Keyword::SkippedDestination}},
    {"title", {Keyword::Title}},
    {"subject", {Keyword::SkippedDestination}},
    {"keywords", {Keyword::SkippedDestination}},
    {"comment", {Keyword::SkippedDestination}},
    {"doccomm", {Keyword::SkippedDestination}},
    {"company", {Keyword::SkippedDestination}},
    {"manager", {Keyword::SkippedDestination}},
    {"category", {Keyword::SkippedDestination}},
    {"plain", {Keyword::Plain}},
    {"b", {Keyword::Bold}},
    {"i", {Keyword::Italic}},
    {"ul", {Keyword::Underline}},
    {"uld", {Keyword::Underline}},
    {"uldash", {Keyword::Underline}},
    {"uldashd", {Keyword::Underline}},
    {"uldashdd", {Keyword::Underline}},
    {"uldb", {Keyword::Underline}},
    {"ulhwave", {Keyword::Underline}},
    {"ulldash", {Keyword::Underline}},
    {"ulth", {Keyword::Underline}},
    {"ulthd", {Keyword::Underline}},
    {"ulthdash", {Keyword::Underline}},
    {"ulthdashd", {Keyword::Underline}},
    {"ulthdashdd", {Keyword::Underline}},
    {"ulthldash", {Keyword::Underline}},
    {"ululdbwave", {Keyword::Underline}},
    {"ulw", {Keyword::Underline}},
    {"ulwave", {Keyword::Underline}},
    {"ulnone", {Keyword::UnderlineNone}},
    {"strike", {Keyword::Strike}},
    {"striked", {Keyword::Strike}},
    {"v", {Keyword::Hidden}},
    {"cf", {Keyword::Color}},
    {"f", {Keyword::Font}},
    {"fs", {Keyword::FontSize}},
    {"super", {Keyword::Superscript}},
    {"up", {Keyword::Superscript}},
    {"sub", {Keyword::Subscript}},
    {"dn", {Keyword::Subscript}},
    {"nosupersub", {Keyword::NoSuperSub}},
    {"highlight", {Keyword::Highlight}},
    {"cb", {Keyword::Highlight}},
    {"chcbpat", {Keyword::Highlight}},
    {"pard", {Keyword::ParagraphDefault}},
    {"par", {Keyword::Paragraph}},
    {"sect", {Keyword::Section}},
    {"page", {Keyword::PageBreak}},
    {"pagebb", {Keyword::PageBreakBefore}},
    {"sbknone", {Keyword::SectionContinuous}},
    {"sbkcol", {Keyword::SectionContinuous}},
    {"paperw", {Keyword::PaperWidth}},
    {"pgwsxn", {Keyword::PaperWidth}},
    {"paperh", {Keyword::PaperHeight}},
    {"pghsxn", {Keyword::PaperHeight}},
    {"margl", {Keyword::MarginLeft}},
    {"marglsxn", {Keyword::MarginLeft}},
    {"margr", {Keyword::MarginRight}},
    {"margrsxn", {Keyword::MarginRight}},
    {"margt", {Keyword::MarginTop}},
    {"margtsxn", {Keyword::MarginTop}},
    {"margb", {Keyword::MarginBottom}},
    {"margbsxn", {Keyword::MarginBottom}},
    {"landscape", {Keyword::Landscape}},
    {"lndscpsxn", {Keyword::Landscape}},
    {"row", {Keyword::Row}},
    {"nestrow", {Keyword::NestedRow}},
    {"cellx", {Keyword::CellBoundary}},
    {"clmrg", {Keyword::CellMerge}},
    {"clvmrg", {Keyword::CellMergeUp}},
    {"trgaph", {Keyword::RowGap}},
    {"trleft", {Keyword::RowLeft}},
    {"clbrdrt", {Keyword::CellBorder}},
    {"clbrdrl", {Keyword::CellBorder}},
    {"clbrdrb", {Keyword::CellBorder}},
    {"clbrdrr", {Keyword::CellBorder}},
    {"trbrdrt", {Keyword::CellBorder}},
    {"trbrdrl", {Keyword::CellBorder}},
    {"trbrdrb", {Keyword::CellBorder}},
    {"trbrdrr", {Keyword::CellBorder}},
    {"trbrdrh", {Keyword::CellBorder}},
    {"trbrdrv", {Keyword::CellBorder}},
    {"brdrs", {Keyword::BorderSingle}},
    {"brdrth", {Keyword::BorderSingle}},
    {"brdrdb", {Keyword::BorderSingle}},
    {"brdrsh", {Keyword::BorderSingle}},
    {"brdrdot", {Keyword::BorderSingle}},
    {"brdrdash", {Keyword::BorderSingle}},
    {"brdrw", {Keyword::BorderWidth}},
    {"brdrnone", {Keyword::BorderNone}},
    {"brdrnil", {Keyword::BorderNone}},
    {"itap", {Keyword::TableDepth}},
    {"ls", {Keyword::ListOverride}},
    {"s", {Keyword::Style}},
    {"cs", {Keyword::Style}},
    {"qmseedrun", {Keyword::SeedRunId}},
    {"qmseedlen", {Keyword::SeedRunLength}},
    {"qmseedwords", {Keyword::SeedRunWords}},
    {"qmseedbrk", {Keyword::SeedRunBreaks}},
    {"intbl", {Keyword::InTable}},
    {"sbasedon", {Keyword::BasedOn}},
    {"ql", {Keyword::AlignLeft}},
    {"qc", {Keyword::AlignCenter}},
    {"qr", {Keyword::AlignRight}},
    {"qj", {Keyword::AlignJustify}},
    {"li", {Keyword::LeftIndent}},
    {"lin", {Keyword::LeftIndent}},
    {"ri", {Keyword::RightIndent}},
    {"rin", {Keyword::RightIndent}},
    {"fi", {Keyword::FirstIndent}},
    {"sb", {Keyword::SpaceBefore}},
    {"sa", {Keyword::SpaceAfter}},
    {"sl", {Keyword::LineSpacing}},
    {"slmult", {Keyword::LineMultiple}},
    {"trowd", {Keyword::TableRow}},
    {"tx", {Keyword::TabPosition}},
    {"tqr", {Keyword::TabRight}},
    {"tqc", {Keyword::TabCenter}},
    {"tqdec", {Keyword::TabDecimal}},
    {"tb", {Keyword::TabBar}},
    {"tldot", {Keyword::TabLeaderDots}},
    {"tlhyph", {Keyword::TabLeaderHyphens}},
    {"tlul", {Keyword::TabLeaderUnderline}},
    {"tlth", {Keyword::TabLeaderThickLine}},
    {"tleq", {Keyword::TabLeaderEquals}},
    {"tlmdot", {Keyword::TabLeaderMiddleDots}},
    {"list", {Keyword::ListEntry}},
    {"listoverride", {Keyword::ListOverrideEntry}},
    {"listlevel", {Keyword::ListLevel}},
    {"listname", {Keyword::ListPart}},
    {"leveltext", {Keyword::LevelText}},
    {"levelnumbers", {Keyword::ListPart}},
    {"listpicture", {Keyword::ListPart}},
    {"liststylename", {Keyword::ListPart}},
    {"lfolevel", {Keyword::ListPart}},
    {"listid", {Keyword::ListId}},
    {"levelnfc", {Keyword::LevelNumberFormat}},
    {"levelnfcn", {Keyword::LevelNumberFormat}},
    {"pnlvlbody", {Keyword::NumberedLevel}},
    {"pnlvl", {Keyword::NumberedLevel}},
    {"pnlvlcont", {Keyword::NumberedLevel}},
    {"pnlvlblt", {Keyword::BulletLevel}},
    {"pndec", {Keyword::NumberDecimal}},
    {"pnlcltr", {Keyword::NumberLowerLetter}},
    {"pnucltr", {Keyword::NumberUpperLetter}},
    {"pnlcrm", {Keyword::NumberLowerRoman}},
    {"pnucrm", {Keyword::NumberUpperRoman}},
    {"picw", {Keyword::PictureWidth}},
    {"pich", {Keyword::PictureHeight}},
    {"picwgoal", {Keyword::PictureWidthGoal}},
    {"pichgoal", {Keyword::PictureHeightGoal}},
    {"picscalex", {Keyword::PictureScaleX}},
    {"picscaley", {Keyword::PictureScaleY}},
    {"pngblip", {Keyword::Png}},
    {"jpegblip", {Keyword::Jpeg}},
    {"line", {Keyword::Character, 0x2028}},
    {"tab", {Keyword::Character, 0x0009}},
    {"cell", {Keyword::Cell}},
    {"nestcell", {Keyword::NestedCell}},
    {"emdash", {Keyword::Character, 0x2014}},
    {"endash", {Keyword::Character, 0x2013}},
    {"lquote", {Keyword::Character, 0x2018}},
    {"rquote", {Keyword::Character, 0x2019}},
    {"ldblquote", {Keyword::Character, 0x201C}},
    {"rdblquote", {Keyword::Character, 0x201D}},
    {"bullet", {Keyword::Character, 0x2022}},
    {"emspace", {Keyword::Character, 0x2003}},
    {"enspace", {Keyword::Character, 0x2002}},
    {"qmspace", {Keyword::Character, 0x2005}},
    {"zwj", {Keyword::Character, 0x200D}},
    {"zwnj", {Keyword::Character, 0x200C}},
    {"ltrmark", {Keyword::Character, 0x200E}},
    {"rtlmark", {Keyword::Character, 0x200F}},
};

// An open-addressing table built at compile time: a lookup is one cheap hash and, nearly always,
// one comparison, which matters at a control word every ten bytes or so.
constexpr size_t s_slots = 1024;
// No RTF control word is longer than this.
constexpr size_t s_longestWord = 32;
static_assert(std::size(s_words) * 2 < s_slots, "keep the table at most half full");

// Hashes the length and a few letters, which tell RTF's words apart without reading every
// letter; words have one letter at least.
constexpr size_t slotOf(std::string_view word)
{
    const auto letter = [&](size_t index) {
        return uint64_t(static_cast<unsigned char>(word[index]));
    };
    const size_t size = word.size();
    const uint64_t key = letter(0) | letter(size - 1) << 8 | letter((size - 1) / 2) << 16 |
                         uint64_t(size) << 24 | (size > 1 ? letter(1) : 0) << 32;
    return size_t(key * 0x9e3779b97f4a7c15u >> 20) % s_slots;
}

constexpr std::array<const Word*, s_slots> makeSlots()
{
    std::array<const Word*, s_slots> slots{};
    for (const Word& word : s_words) {
        size_t slot = slotOf(word.first);
        while (slots[slot])
            slot = (slot + 1) % s_slots;
        slots[slot] = &word;
    }
    return slots;
}

constexpr std::array<const Word*, s_slots> s_slotWords = makeSlots();

// Words are a few letters long: comparing them here is cheaper than calling memcmp.
bool sameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

RtfKeywordTable::Entry RtfKeywordTable::find(std::string_view word)
{
    // \uN, once per character outside ASCII, dominates real files: answer it without hashing.
    if (word.size() == 1 && word[0] == 'u')
        return {Keyword::Unicode};
    // Longer letter runs are garbage.
    if (word.empty() || word.size() > s_longestWord)
        return {};
    for (size_t slot = slotOf(word);; slot = (slot + 1) % s_slots) {
        const Word* candidate = s_slotWords[slot];
        if (!candidate)
            return {};
        if (sameWord(candidate->first, word))
            return candidate->second;
    }
}
