#include "platform/rtf/RtfKeywordTable.h"

#include <unordered_map>

namespace {

using Keyword = RtfKeywordTable::Keyword;

// No RTF control word is longer than this; longer letter runs are garbage, not worth hashing.
constexpr size_t s_longestWord = 32;

const std::unordered_map<std::string_view, RtfKeywordTable::Entry>& keywords()
{
    static const std::unordered_map<std::string_view, RtfKeywordTable::Entry> table = {
        {"ansi", {Keyword::Ansi}},
        {"ansicpg", {Keyword::AnsiCodePage}},
        {"mac", {Keyword::Mac}},
        {"pc", {Keyword::Pc}},
        {"pca", {Keyword::Pca}},
        {"deff", {Keyword::DefaultFont}},
        {"cpg", {Keyword::CodePage}},
        {"fcharset", {Keyword::FontCharset}},
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
        {"stylesheet", {Keyword::SkippedDestination}},
        {"info", {Keyword::SkippedDestination}},
        {"header", {Keyword::SkippedDestination}},
        {"headerl", {Keyword::SkippedDestination}},
        {"headerr", {Keyword::SkippedDestination}},
        {"headerf", {Keyword::SkippedDestination}},
        {"footer", {Keyword::SkippedDestination}},
        {"footerl", {Keyword::SkippedDestination}},
        {"footerr", {Keyword::SkippedDestination}},
        {"footerf", {Keyword::SkippedDestination}},
        {"footnote", {Keyword::SkippedDestination}},
        {"annotation", {Keyword::SkippedDestination}},
        {"pict", {Keyword::SkippedDestination}},
        {"nonshppict", {Keyword::SkippedDestination}},
        {"shp", {Keyword::SkippedDestination}},
        {"object", {Keyword::SkippedDestination}},
        {"fldinst", {Keyword::SkippedDestination}},
        {"generator", {Keyword::SkippedDestination}},
        {"listtext", {Keyword::SkippedDestination}},
        {"listtable", {Keyword::SkippedDestination}},
        {"listoverridetable", {Keyword::SkippedDestination}},
        {"pnseclvl", {Keyword::SkippedDestination}},
        {"pntxta", {Keyword::SkippedDestination}},
        {"pntxtb", {Keyword::SkippedDestination}},
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
        {"author", {Keyword::SkippedDestination}},
        {"operator", {Keyword::SkippedDestination}},
        {"title", {Keyword::SkippedDestination}},
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
        {"pard", {Keyword::ParagraphDefault}},
        {"par", {Keyword::Paragraph}},
        {"sect", {Keyword::Paragraph}},
        {"page", {Keyword::Paragraph}},
        {"row", {Keyword::Paragraph}},
        {"nestrow", {Keyword::Paragraph}},
        {"ls", {Keyword::ListOverride}},
        {"line", {Keyword::Character, 0x2028}},
        {"tab", {Keyword::Character, 0x0009}},
        {"cell", {Keyword::Character, 0x0009}},
        {"nestcell", {Keyword::Character, 0x0009}},
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
    return table;
}

} // namespace

RtfKeywordTable::Entry RtfKeywordTable::find(std::string_view word)
{
    // \uN, once per character outside ASCII, dominates real files: answer it without hashing.
    if (word == "u")
        return {Keyword::Unicode};
    if (word.size() > s_longestWord)
        return {};
    const auto& table = keywords();
    const auto found = table.find(word);
    return found == table.end() ? Entry{} : found->second;
}
