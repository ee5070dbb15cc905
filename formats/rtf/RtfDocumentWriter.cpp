#include "formats/rtf/RtfDocumentWriter.h"

#include "formats/base/DocumentInfo.h"
#include "formats/base/ListMarker.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/ParagraphPieces.h"
#include "formats/base/PictureBytes.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/rtf/BuiltInCodePages.h"
#include "formats/rtf/RtfCharacterPolicy.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfStyleSheet.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <charconv>
#include <numeric>
#include <utility>

using namespace std::string_view_literals;

namespace {

// The longest thing one UTF-16 unit becomes: "\u-32768?" or a delimiter and a character.
constexpr qsizetype s_maxBytesPerUnit = 9;
// Enough for text that is mostly ASCII with some formatting and some \uN escapes.
constexpr qsizetype s_expectedBytesPerCharacter = 4;

// Where a list paragraph's first line starts, in twips: its marker hangs before its text.
constexpr int s_listLineStart = 360;
constexpr qsizetype s_imageBytesPerLine = 64;
// The width a table spreads over when its columns do not say: a Letter page's text, in twips.
constexpr int s_tableWidth = 9360;
// The number of the one style the style sheet names.
constexpr int s_seedStyle = 1;

// In the order of PageFurniture::Story.
constexpr std::array<std::string_view, PageFurniture::StoryCount> s_storyGroups = {
    "{\\header "sv, "{\\headerl "sv, "{\\headerr "sv, "{\\headerf "sv,
    "{\\footer "sv, "{\\footerl "sv, "{\\footerr "sv, "{\\footerf "sv};

// What \plain leaves: the default font in 12 points.
RtfRunStyle plainStyle()
{
    RtfRunStyle style;
    style.font = 0;
    style.halfPoints = 24;
    return style;
}

// The list table's \levelnfc number of a numbered list's style.
int levelNumberFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return RtfCharacterPolicy::isBullet(style) ? 23 : 0;
    }
}

// A level's number text as the list table keeps it: its length, then text with the level's
// number as the character of the level's index.
QString levelText(const QTextListFormat& format, int level)
{
    if (RtfCharacterPolicy::isBullet(format.style()))
        return QStringLiteral("\u0001\u2022");
    const QString kept = format.stringProperty(TextProperties::ListLevelText);
    if (!kept.isEmpty())
        return kept;
    // Qt puts a full stop after the number unless told otherwise.
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    const QString text = format.numberPrefix() + QChar(char16_t(level)) + suffix;
    return QChar(char16_t(text.size())) + text;
}

// A list paragraph's left indent in twips: its marker hangs s_listLineStart before its text.
int listIndent(const QTextListFormat& format)
{
    return s_listLineStart * 2 * std::max(format.indent(), 1);
}

// A control word and its parameter, without a string for the number.
void appendWord(QByteArray& out, std::string_view word, int parameter)
{
    std::array<char, 40> buffer;
    char* end = std::copy(word.begin(), word.end(), buffer.data());
    end = std::to_chars(end, buffer.data() + buffer.size(), parameter).ptr;
    out.append(buffer.data(), end - buffer.data());
}

// The length in whole twips, after word when it is not 0.
int appendTwips(QByteArray& out, std::string_view word, double pixels)
{
    const int twips = qRound(Twips::fromPixels(pixels));
    if (twips != 0)
        appendWord(out, word, twips);
    return twips;
}

constexpr std::array<std::string_view, 6> s_leaderWords = {"\\tldot"sv, "\\tlhyph"sv, "\\tlul"sv,
                                                           "\\tlth"sv,  "\\tleq"sv,   "\\tlmdot"sv};

// Tab stops measured from the left margin again: the document keeps them from where the first
// line starts, lineStart twips in.
void appendTabStops(QByteArray& out, const QTextBlockFormat& format, int lineStart)
{
    const QString leaders = format.stringProperty(TextProperties::TabLeaders);
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    // Clamped as the reader clamps, so what it reads back writes out the same.
    const qsizetype count = std::min(tabs.size(), RtfCharacterPolicy::MaxTabStops);
    for (qsizetype index = 0; index < count; ++index) {
        const size_t leader = TextProperties::tabLeaders().find(
            index < leaders.size() ? leaders[index].unicode() : u' ');
        if (leader < s_leaderWords.size())
            out.append(s_leaderWords[leader]);
        if (tabs[index].type == QTextOption::RightTab)
            out.append("\\tqr");
        else if (tabs[index].type == QTextOption::CenterTab)
            out.append("\\tqc");
        else if (tabs[index].type == QTextOption::DelimiterTab)
            out.append("\\tqdec");
        const double twips = std::clamp(Twips::fromPixels(tabs[index].position) + lineStart,
                                        -double(RtfCharacterPolicy::MaxTabStopTwips),
                                        double(RtfCharacterPolicy::MaxTabStopTwips));
        appendWord(out, "\\tx"sv, qRound(twips));
    }
}

// \sl and \slmult as the reader takes them: in 240ths of a line, exactly or at least; one
// append, as every paragraph of a double-spaced manuscript has them.
void appendLineSpacing(QByteArray& out, const QTextBlockFormat& format,
                       QTextBlockFormat::LineHeightTypes type)
{
    const double height = format.lineHeight();
    int spacing = 0;
    if (type == QTextBlockFormat::ProportionalHeight)
        spacing = qRound(height * 240 / 100);
    else if (type == QTextBlockFormat::FixedHeight)
        spacing = -qRound(Twips::fromPixels(height));
    else
        spacing = qRound(Twips::fromPixels(height));
    std::array<char, 32> words = {'\\', 's', 'l'};
    char* end = std::to_chars(words.data() + 3, words.data() + 16, spacing).ptr;
    end = std::copy_n(type == QTextBlockFormat::ProportionalHeight ? "\\slmult1" : "\\slmult0", 8,
                      end);
    out.append(words.data(), end - words.data());
}

// Alignment, indents, spacing and tab stops as control words; empty for a plain paragraph.
QByteArray paragraphProperties(const QTextBlockFormat& format, const QTextList* list)
{
    QByteArray out;
    // A paragraph of its own formatting has several words: room for them at once.
    if (format.propertyCount() > 1)
        out.reserve(48);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        out.append("\\qc");
    else if (alignment & Qt::AlignRight)
        out.append("\\qr");
    else if (alignment & Qt::AlignJustify)
        out.append("\\qj");
    // A list's indent is its own and is written with the list.
    int lineStart = 0;
    if (list) {
        lineStart = format.hasProperty(QTextFormat::TabPositions)
                        ? listIndent(list->format()) - s_listLineStart
                        : 0;
    } else {
        lineStart = appendTwips(out, "\\li", format.leftMargin());
        appendTwips(out, "\\ri", format.rightMargin());
        lineStart += appendTwips(out, "\\fi", format.textIndent());
    }
    appendTwips(out, "\\sb", format.topMargin());
    appendTwips(out, "\\sa", format.bottomMargin());
    if (const auto type = QTextBlockFormat::LineHeightTypes(format.lineHeightType());
        type != QTextBlockFormat::SingleHeight)
        appendLineSpacing(out, format, type);
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out.append("\\pagebb");
    if (format.hasProperty(QTextFormat::TabPositions))
        appendTabStops(out, format, lineStart);
    return out;
}

// Each column's width in twips: fixed widths as they are, a share of the text's width for the
// rest.
std::vector<int> columnWidths(const QTextTableFormat& format, int columns)
{
    const QList<QTextLength> lengths = format.columnWidthConstraints();
    std::vector<int> widths(size_t(columns), 0);
    int fixed = 0;
    int open = 0;
    for (int column = 0; column < columns; ++column) {
        const QTextLength length = column < lengths.size() ? lengths.at(column) : QTextLength();
        if (length.type() == QTextLength::FixedLength)
            widths[size_t(column)] = qRound(Twips::fromPixels(length.rawValue()));
        else if (length.type() == QTextLength::PercentageLength)
            widths[size_t(column)] = qRound(length.rawValue() * s_tableWidth / 100);
        fixed += widths[size_t(column)];
        open += widths[size_t(column)] <= 0;
    }
    const int share = open > 0 ? std::max(360, (s_tableWidth - fixed) / open) : 0;
    for (int& width : widths)
        width = width > 0 ? width : share;
    return widths;
}

// The font table's family word for a kind of face.
std::string_view familyWord(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif:
        return "\\froman"sv;
    case QFont::SansSerif:
        return "\\fswiss"sv;
    case QFont::Monospace:
    case QFont::TypeWriter:
        return "\\fmodern"sv;
    case QFont::Cursive:
        return "\\fscript"sv;
    case QFont::Fantasy:
    case QFont::Decorative:
        return "\\fdecor"sv;
    default:
        return "\\fnil"sv;
    }
}

// What stands around a numbered list's number and where it starts, as listFormat says.
void setNumberText(QTextListFormat& format, const QTextListFormat& listFormat)
{
    format.setNumberPrefix(listFormat.numberPrefix());
    format.setNumberSuffix(listFormat.hasProperty(QTextFormat::ListNumberSuffix)
                               ? listFormat.numberSuffix()
                               : QStringLiteral("."));
    for (const int kept : {TextProperties::ListStart, TextProperties::ListLevelText}) {
        if (listFormat.hasProperty(kept))
            format.setProperty(kept, listFormat.property(kept));
    }
}

// A control word swallows one following space and runs on into letters, digits or a minus sign.
bool needsDelimiter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '-';
}

bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}';
}

bool isUnicodeEscaped(char16_t c)
{
    return c >= 0x80 && c != QChar::LineSeparator && !RtfCharacterPolicy::isDropped(c);
}

// Whether the character at at in text is half a surrogate pair without its other half.
bool isLoneSurrogate(QStringView text, const QChar* at)
{
    if (at->isHighSurrogate())
        return at + 1 == text.end() || !at[1].isLowSurrogate();
    if (at->isLowSurrogate())
        return at == text.begin() || !at[-1].isHighSurrogate();
    return false;
}

// \uN takes a signed 16-bit value; the '?' is the fallback older readers show instead.
char* writeUnicode(char* target, char16_t c)
{
    *target++ = '\\';
    *target++ = 'u';
    target = std::to_chars(target, target + 6, int(qint16(c))).ptr;
    *target++ = '?';
    return target;
}

} // namespace

// Reserving generously costs only address space, which stays untouched unless used; regrowing a
// buffer of many megabytes would copy it all.
RtfDocumentWriter::RtfDocumentWriter(const QTextDocument& document, const RtfPage& page)
    : m_document(document), m_page(page), m_styles(document),
      m_body(document.characterCount() * s_expectedBytesPerCharacter + 4096),
      m_lastBlock(document.lastBlock())
{
    const QList<QTextFormat> formats = document.allFormats();
    for (qsizetype index = 0; index < formats.size(); ++index)
        if (formats[index].hasProperty(PageFurniture::NoteBody) ||
            formats[index].hasProperty(PageFurniture::NotesHeading))
            m_noteFormats.insert(int(index));
    // The formats a document ever had, not only those its text uses now, decide, so a paragraph
    // written again alone never needs a header other than the whole write's.
    m_seedWritten = std::any_of(formats.cbegin(), formats.cend(), [](const QTextFormat& format) {
        return format.hasProperty(TextProperties::SeedRun);
    });
    if (!m_noteFormats.isEmpty())
        findNotes();
}

// A story's paragraphs all end with \par, its last one too, as in a note: then the last
// paragraph's mark keeps its own formatting, not what the group around it has.
RtfDocumentWriter::RtfDocumentWriter(const QTextDocument& story, const RtfStyleTable& tables)
    : m_document(story), m_styles(story, tables), m_body(story.characterCount() * 4 + 256)
{
}

void RtfDocumentWriter::findTables()
{
    m_tables.clear();
    for (const QTextFrame* frame : m_document.rootFrame()->childFrames()) {
        if (const auto* table = qobject_cast<const QTextTable*>(frame))
            m_tables.push_back({table, table->firstPosition(), table->lastPosition()});
    }
    m_cells = Cells();
    m_layout = TableLayout();
}

QByteArray RtfDocumentWriter::write(RtfParagraphMap* map, const Progress& progress)
{
    writeBlocks(map, progress);
    QByteArray document = header();
    if (map) {
        map->headerSize = document.size();
        for (RtfParagraphMap::Paragraph& paragraph : map->paragraphs)
            paragraph.end += map->headerSize;
    }
    document.reserve(document.size() + m_body.size() + 1);
    document.append(m_body.take());
    document.append('}');
    return document;
}

QByteArray RtfDocumentWriter::header()
{
    RtfByteSink furniture(1024);
    writeFurniture(furniture);
    RtfByteSink header(4096);
    writeHeader(header);
    QByteArray written = header.take();
    written.append(furniture.take());
    return written;
}

void RtfDocumentWriter::writeBlocks(RtfParagraphMap* map, const Progress& progress)
{
    constexpr int progressStep = 4096;
    findTables();
    m_paragraphStarts.clear();
    m_pieces = ParagraphPieces::anyIn(m_document);
    const QString text = m_document.toRawText();
    RtfParagraphBoundary boundary;
    if (map) {
        map->paragraphs.clear();
        map->paragraphs.reserve(size_t(m_document.blockCount()));
        map->boundaries = {boundary};
    }
    int written = 0;
    // Qt finds a block's position by searching the document: here it is counted.
    int position = 0;
    for (QTextBlock block = m_document.begin(); block.isValid();
         position += block.length(), block = block.next()) {
        if (!m_noteFormats.isEmpty() && isPlacedNote(block)) {
            // Written at its mark: it takes no room here, but keeps its place in the map.
            if (map)
                map->paragraphs.push_back(
                    {m_body.size(), 0, int(map->boundaries.size() - 1), false});
            continue;
        }
        RtfParagraphMap::Paragraph paragraph =
            writeParagraph(block, position, QStringView(text).sliced(position, block.length() - 1),
                           boundary, block == m_lastBlock);
        if (progress && ++written % progressStep == 0)
            progress(written, m_document.blockCount());
        if (!map)
            continue;
        if (!(boundary == map->boundaries.back()))
            map->boundaries.push_back(boundary);
        paragraph.boundary = int(map->boundaries.size() - 1);
        map->paragraphs.push_back(paragraph);
    }
}

void RtfDocumentWriter::findNotes()
{
    QHash<int, QList<QTextBlock>> notes;
    QSet<int> marked;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (m_noteFormats.contains(block.blockFormatIndex())) {
            if (const int note = block.blockFormat().intProperty(PageFurniture::NoteBody))
                notes[note].append(block);
            continue;
        }
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments)
            if (const int note = m_styles.styleFor(fragments.fragment().charFormatIndex()).note)
                marked.insert(note);
    }
    // A note whose mark was deleted stays where it is, as paragraphs of the body.
    for (auto note = notes.cbegin(); note != notes.cend(); ++note)
        if (marked.contains(note.key()))
            m_notes.insert(note.key(), note.value());
    m_lastBlock = m_document.lastBlock();
    while (m_lastBlock.previous().isValid() && isPlacedNote(m_lastBlock))
        m_lastBlock = m_lastBlock.previous();
}

bool RtfDocumentWriter::isPlacedNote(const QTextBlock& block) const
{
    if (!m_noteFormats.contains(block.blockFormatIndex()))
        return false;
    const QTextBlockFormat format = block.blockFormat();
    return m_notes.contains(format.intProperty(PageFurniture::NoteBody)) ||
           (format.hasProperty(PageFurniture::NotesHeading) && !m_notes.isEmpty());
}

std::optional<QByteArray> RtfDocumentWriter::writeParagraph(const QTextBlock& block,
                                                            const RtfParagraphBoundary& before,
                                                            RtfParagraphMap::Paragraph* paragraph,
                                                            RtfParagraphBoundary* after)
{
    // A note is written at its mark, away from its paragraphs: a change to either writes the
    // whole document.
    if (m_noteFormats.contains(block.blockFormatIndex()))
        return std::nullopt;
    const qsizetype fonts = m_styles.fonts().size();
    const qsizetype colors = m_styles.colors().size();
    const QString text = block.text();
    // The document changed since the whole write: its tables and lists may have too.
    findTables();
    m_paragraphStarts.clear();
    m_pieces = ParagraphPieces::anyIn(m_document);
    m_body = RtfByteSink(text.size() * s_maxBytesPerUnit + 1024);
    m_needsDelimiter = false;
    RtfParagraphBoundary boundary = before;
    const bool last = m_noteFormats.isEmpty() ? !block.next().isValid() : block == m_lastBlock;
    *paragraph = writeParagraph(block, block.position(), text, boundary, last);
    if (m_styles.fonts().size() != fonts || m_styles.colors().size() != colors)
        return std::nullopt;
    *after = boundary;
    return m_body.take();
}

RtfParagraphMap::Paragraph RtfDocumentWriter::writeParagraph(const QTextBlock& block, int position,
                                                             QStringView text,
                                                             RtfParagraphBoundary& boundary,
                                                             bool last)
{
    // A copy: a note written inside this paragraph may find starts of its own.
    const ParagraphStart start = paragraphStart(block);
    const QTextList* list = start.list;
    // A note's paragraphs are written inside the paragraph of its mark.
    const bool outerMark = std::exchange(m_noteWriting.markWritten, false);
    m_current = boundary.style;
    m_tableUse = 0;
    m_lastEntries = 0;
    const QTextTable* table = tableOf(position);
    const CellPlace* cell = table ? &cellAt(*table, position) : nullptr;
    // Readers take "\par\cell" as ending the paragraph before: a cell's last paragraph, when
    // empty, is not written, and the one before it ends the cell. A cell's paragraphs are
    // followed by others, whose places follow from their lengths.
    const int next = position + block.length();
    if (table && block.length() == 1 && position > cell->first && next > cell->last) {
        boundary = {m_current, QByteArrayLiteral("table")};
        m_noteWriting.markWritten = outerMark;
        return {m_body.size(), 0, 0, true};
    }
    const CellPlace& written = m_cells.written;
    if (table &&
        (table != written.table || cell->row != written.row || cell->column != written.column))
        writeCellStart(*cell);
    // A piece after the first of a paragraph the editor holds in pieces goes on where the one
    // before stopped, after the space its break took the place of, if any.
    const bool continues = m_pieces && ParagraphPieces::continues(block);
    if (!continues)
        writeParagraphStart(block, start, boundary.properties, table != nullptr);
    writeBlock(block, text);
    const ParagraphPieces::Joint joint = m_pieces && ParagraphPieces::continues(block.next())
                                             ? ParagraphPieces::jointBefore(block.next())
                                             : ParagraphPieces::Joint::None;
    if (joint != ParagraphPieces::Joint::None) {
        if (joint == ParagraphPieces::Joint::Space)
            writeText(m_body, u" ");
    } else if (table &&
               (next > cell->last || (block.next().length() == 1 && next + 1 > cell->last))) {
        writeCellEnd(cell->column);
    } else if (!last) {
        m_body.append("\\par\n"sv);
        m_needsDelimiter = false;
    }
    // After a list or table paragraph the next one starts afresh, whatever its properties.
    boundary = {m_current, table       ? QByteArrayLiteral("table")
                           : list      ? QByteArrayLiteral("list")
                           : continues ? boundary.properties
                                       : start.properties};
    const bool marked = std::exchange(m_noteWriting.markWritten, outerMark);
    return {m_body.size(), m_tableUse, 0, list != nullptr || table != nullptr || marked};
}

const RtfRunStyle& RtfDocumentWriter::styleFor(int formatIndex)
{
    const RtfRunStyle& style = m_styles.styleFor(formatIndex);
    // Runs that differ only in what the tables do not hold (bold, size, ...) use the same
    // entries, so splitting or joining them leaves the tables as they are.
    const quint64 entries =
        quint64(style.font + 2) | quint64(style.color) << 21 | quint64(style.highlight) << 42;
    if (entries != std::exchange(m_lastEntries, entries))
        m_tableUse = (m_tableUse ^ entries) * 0x100000001b3ULL;
    return style;
}

void RtfDocumentWriter::writeHeader(RtfByteSink& out)
{
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl"sv);
    for (qsizetype index = 0; index < m_styles.fonts().size(); ++index) {
        writeWord(out, "{\\f"sv, int(index));
        writeWord(out, familyWord(m_styles.fontHints().at(index)));
        // The reader takes bytes in a symbol font for the signs they show; \fcharset0 says
        // this font's text is already what it shows.
        if (BuiltInCodePages::forFont(m_styles.fonts().at(index)) != 0)
            writeWord(out, "\\fcharset0"sv);
        // A semicolon ends a font name, so one inside a name travels as a byte escape.
        const QStringList parts = m_styles.fonts().at(index).split(u';');
        for (qsizetype part = 0; part < parts.size(); ++part) {
            out.append(part > 0 ? "\\'3b"sv : ""sv);
            writeText(out, parts.at(part));
        }
        out.append(";}"sv);
    }
    out.append("}{\\colortbl;"sv);
    for (const QRgb color : m_styles.colors()) {
        writeWord(out, "\\red"sv, qRed(color));
        writeWord(out, "\\green"sv, qGreen(color));
        writeWord(out, "\\blue"sv, qBlue(color));
        out.append(";"sv);
    }
    out.append("}"sv);
    if (m_seedWritten) {
        writeWord(out, "{\\stylesheet{\\*\\cs"sv, s_seedStyle);
        out.append("\\additive "sv);
        out.append(RtfStyleSheet::seedStyleName);
        out.append(";}}"sv);
    }
    writeListTables(out);
    out.append("{\\*\\generator Quillmere;}"sv);
    writeInfo(out);
    writePage(out);
    out.append("\\uc1\n"sv);
}

void RtfDocumentWriter::writeInfo(RtfByteSink& out)
{
    const DocumentInfo info = DocumentInfo::of(m_document);
    if (info == DocumentInfo())
        return;
    const auto writeField = [&](std::string_view group, const QString& text) {
        if (text.isEmpty())
            return;
        writeWord(out, group);
        writeText(out, text);
        out.append("}"sv);
    };
    out.append("{\\info"sv);
    writeField("{\\title"sv, info.title);
    writeField("{\\author"sv, info.author);
    out.append("}"sv);
}

void RtfDocumentWriter::writePage(RtfByteSink& out)
{
    static constexpr std::array<std::string_view, RtfPage::lengthCount> words = {
        "\\paperw"sv, "\\paperh"sv, "\\margl"sv, "\\margr"sv, "\\margt"sv, "\\margb"sv};
    for (int length = 0; length < RtfPage::lengthCount; ++length) {
        if (m_page.isGiven(length))
            writeWord(out, words[size_t(length)], m_page.lengths[size_t(length)]);
    }
    if (m_page.landscape)
        writeWord(out, "\\landscape"sv);
}

RtfDocumentWriter::ParagraphStart RtfDocumentWriter::paragraphStart(const QTextBlock& block)
{
    // A paragraph the editor holds in pieces has its space below on its last.
    if (m_pieces && ParagraphPieces::continues(block.next()))
        return {block.textList(),
                paragraphProperties(ParagraphPieces::paragraphFormat(block), block.textList())};
    auto found = m_paragraphStarts.constFind(block.blockFormatIndex());
    if (found == m_paragraphStarts.constEnd()) {
        ParagraphStart start;
        start.list = block.textList();
        start.properties = paragraphProperties(block.blockFormat(), start.list);
        found = m_paragraphStarts.insert(block.blockFormatIndex(), start);
    }
    return *found;
}

void RtfDocumentWriter::writeParagraphStart(const QTextBlock& block, const ParagraphStart& start,
                                            const QByteArray& previousProperties, bool inTable)
{
    const QTextList* list = start.list;
    const QByteArray& properties = start.properties;
    if (list) {
        writeListMarker(block, *list);
    } else if (inTable || properties != previousProperties) {
        writeWord(m_body, "\\pard"sv);
    }
    if (inTable)
        writeWord(m_body, "\\intbl"sv);
    if (!properties.isEmpty() && (list || inTable || properties != previousProperties))
        writeWord(m_body, std::string_view(properties.constData(), size_t(properties.size())));
}

const QTextTable* RtfDocumentWriter::tableOf(int position) const
{
    if (m_tables.empty())
        return nullptr;
    const auto after =
        std::upper_bound(m_tables.begin(), m_tables.end(), position,
                         [](int at, const TablePlace& table) { return at < table.first; });
    if (after == m_tables.begin() || position > (after - 1)->last)
        return nullptr;
    return (after - 1)->table;
}

// Cells are told apart through the grid: comparing two is cheap, asking one its row or column
// is not.
bool RtfDocumentWriter::TableLayout::sameCell(int row, int column, int otherRow,
                                              int otherColumn) const
{
    return otherRow >= 0 && otherRow < rows && otherColumn >= 0 && otherColumn < columns &&
           cells[size_t(row * columns + column)] == cells[size_t(otherRow * columns + otherColumn)];
}

std::pair<int, int> RtfDocumentWriter::TableLayout::nextStart(int row, int column) const
{
    for (++column; row < rows; ++row, column = 0) {
        for (; column < columns; ++column) {
            if (!sameCell(row, column, row - 1, column) && !sameCell(row, column, row, column - 1))
                return {row, column};
        }
    }
    return {rows, 0};
}

int RtfDocumentWriter::TableLayout::firstPosition(int row, int column)
{
    int& first = firstPositions[size_t(row * columns + column)];
    if (first < 0)
        first = cells[size_t(row * columns + column)].firstPosition();
    return first;
}

RtfDocumentWriter::TableLayout& RtfDocumentWriter::layoutOf(const QTextTable& table)
{
    TableLayout& layout = m_layout;
    if (layout.table == &table)
        return layout;
    layout.table = &table;
    layout.rows = table.rows();
    layout.columns = table.columns();
    layout.cells.clear();
    for (int row = 0; row < layout.rows; ++row)
        for (int column = 0; column < layout.columns; ++column)
            layout.cells.push_back(table.cellAt(row, column));
    layout.firstPositions.assign(layout.cells.size(), -1);
    // Tables of one format, most often all of a document's, share what rows take from it.
    if (table.formatIndex() != std::exchange(layout.formatIndex, table.formatIndex()))
        defineRows(table.format(), layout);
    return layout;
}

void RtfDocumentWriter::defineRows(const QTextTableFormat& format, TableLayout& layout)
{
    layout.rowStart = QByteArrayLiteral("\\trowd");
    appendWord(layout.rowStart, "\\trgaph"sv, qRound(Twips::fromPixels(format.cellPadding())));
    const int left = qRound(Twips::fromPixels(format.leftMargin()));
    if (left > 0)
        appendWord(layout.rowStart, "\\trleft"sv, left);
    const int border = format.borderStyle() == QTextFrameFormat::BorderStyle_None ? 0
                       : format.hasProperty(TextProperties::TableBorderTwips)
                           ? format.intProperty(TextProperties::TableBorderTwips)
                           : qRound(Twips::fromPixels(format.border()));
    layout.cellBorders.clear();
    for (const std::string_view side : {"\\clbrdrt\\brdrs\\brdrw"sv, "\\clbrdrl\\brdrs\\brdrw"sv,
                                        "\\clbrdrb\\brdrs\\brdrw"sv, "\\clbrdrr\\brdrs\\brdrw"sv}) {
        if (border > 0)
            appendWord(layout.cellBorders, side, border);
    }
    layout.rights = columnWidths(format, layout.columns);
    std::partial_sum(layout.rights.begin(), layout.rights.end(), layout.rights.begin());
    for (int& right : layout.rights)
        right += left;
}

const RtfDocumentWriter::CellPlace& RtfDocumentWriter::cellAt(const QTextTable& table, int position)
{
    CellPlace& found = m_cells.found;
    if (&table == found.table && position >= found.first && position <= found.last)
        return found;
    // Paragraphs come in order: the cell is most often the next one the grid starts, which Qt
    // tells without searching.
    TableLayout& layout = layoutOf(table);
    const auto [row, column] =
        &table == found.table ? layout.nextStart(found.row, found.column) : std::pair(0, 0);
    if (row < layout.rows && layout.firstPosition(row, column) == position) {
        const auto [nextRow, nextColumn] = layout.nextStart(row, column);
        const int last = nextRow < layout.rows ? layout.firstPosition(nextRow, nextColumn) - 1
                                               : table.lastPosition();
        found = {&table, row, column, position, last};
    } else {
        const QTextTableCell cell = table.cellAt(position);
        found = {&table, cell.row(), cell.column(), cell.firstPosition(), cell.lastPosition()};
    }
    return found;
}

void RtfDocumentWriter::writeCellStart(const CellPlace& cell)
{
    CellPlace& written = m_cells.written;
    int from = written.column + 1;
    if (cell.table != written.table || cell.row != written.row) {
        writeRowDefinition(cell.row);
        from = 0;
    }
    // Cells merged into one before this one, and cells covered by one from above, are each
    // an empty cell in RTF.
    writeCoveredCells(cell.column - from);
    written = cell;
}

void RtfDocumentWriter::writeCellEnd(int column)
{
    writeWord(m_body, "\\cell"sv);
    if (column < m_cells.rowLastStart)
        return;
    writeCoveredCells(m_layout.columns - column - 1);
    m_body.append("\\row\n"sv);
    m_needsDelimiter = false;
}

void RtfDocumentWriter::writeCoveredCells(int count)
{
    for (int cell = 0; cell < count; ++cell)
        writeWord(m_body, "\\pard\\intbl\\cell"sv);
}

void RtfDocumentWriter::writeRowDefinition(int row)
{
    const TableLayout& layout = m_layout;
    m_body.append(std::string_view(layout.rowStart.constData(), size_t(layout.rowStart.size())));
    m_cells.rowLastStart = -1;
    for (int column = 0; column < layout.columns; ++column) {
        const bool fromAbove = layout.sameCell(row, column, row - 1, column);
        const bool fromLeft = layout.sameCell(row, column, row, column - 1);
        if (fromAbove)
            m_body.append("\\clvmrg"sv);
        else if (layout.sameCell(row, column, row + 1, column))
            m_body.append("\\clvmgf"sv);
        if (fromLeft)
            m_body.append("\\clmrg"sv);
        else if (layout.sameCell(row, column, row, column + 1))
            m_body.append("\\clmgf"sv);
        if (!fromAbove && !fromLeft)
            m_cells.rowLastStart = column;
        m_body.append(
            std::string_view(layout.cellBorders.constData(), size_t(layout.cellBorders.size())));
        writeWord(m_body, "\\cellx"sv, layout.rights[size_t(column)]);
    }
}

void RtfDocumentWriter::writeListMarker(const QTextBlock& block, const QTextList& list)
{
    // Older readers show the marker text; newer ones number the list from the list table.
    auto found = m_listWords.constFind(list.formatIndex());
    if (found == m_listWords.constEnd())
        found = m_listWords.insert(list.formatIndex(), listWords(list.format()));
    // A bullet's marker is the same for every item: it is written whole.
    if (!found->startsWith("\\pard")) {
        m_body.append("\\pard{\\listtext "sv);
        m_needsDelimiter = false;
        writeText(m_body, ListMarker::text(block, list));
        m_body.append("\\tab}"sv);
    }
    writeWord(m_body, std::string_view(found->constData(), size_t(found->size())));
}

QByteArray RtfDocumentWriter::listWords(const QTextListFormat& format)
{
    QByteArray words = RtfCharacterPolicy::isBullet(format.style())
                           ? QByteArray("\\pard{\\listtext \\'95\\tab}\\ls")
                           : QByteArray("\\ls");
    appendWord(words, {}, listNumber(format));
    if (const int level = std::max(format.indent() - 1, 0); level > 0)
        appendWord(words, "\\ilvl"sv, level);
    appendWord(words, "\\fi-360\\li"sv, listIndent(format));
    return words;
}

int RtfDocumentWriter::listNumber(const QTextListFormat& listFormat)
{
    // Lists that would be written alike are one entry, whichever of their properties are set,
    // unless they were two lists of the file: one entry would join them when read again.
    QTextListFormat format;
    format.setStyle(listFormat.style());
    format.setIndent(std::max(listFormat.indent(), 1));
    if (listFormat.hasProperty(TextProperties::ListId))
        format.setProperty(TextProperties::ListId, listFormat.property(TextProperties::ListId));
    if (!RtfCharacterPolicy::isBullet(format.style()))
        setNumberText(format, listFormat);
    const auto found = std::find(m_listFormats.begin(), m_listFormats.end(), format);
    if (found != m_listFormats.end())
        return int(found - m_listFormats.begin()) + 1;
    m_listFormats.push_back(format);
    return int(m_listFormats.size());
}

void RtfDocumentWriter::writeListTables(RtfByteSink& out)
{
    if (m_listFormats.empty())
        return;
    out.append("{\\*\\listtable"sv);
    for (size_t index = 0; index < m_listFormats.size(); ++index) {
        writeWord(out, "{\\list\\listtemplateid"sv, int(index) + 1);
        const QTextListFormat& format = m_listFormats[index];
        // Levels above the list's own are plain numbers: a level is named by its place.
        for (int level = 0; level < format.indent(); ++level)
            writeListLevel(out, level + 1 == format.indent() ? format : QTextListFormat(), level);
        writeWord(out, "\\listid"sv, int(index) + 1);
        out.append("}"sv);
    }
    out.append("}{\\*\\listoverridetable"sv);
    for (size_t index = 0; index < m_listFormats.size(); ++index) {
        writeWord(out, "{\\listoverride\\listid"sv, int(index) + 1);
        writeWord(out, "\\listoverridecount0\\ls"sv, int(index) + 1);
        out.append("}"sv);
    }
    out.append("}"sv);
}

void RtfDocumentWriter::writeListLevel(RtfByteSink& out, const QTextListFormat& format, int level)
{
    const int style = levelNumberFormat(format.style());
    writeWord(out, "{\\listlevel\\levelnfc"sv, style);
    writeWord(out, "\\levelnfcn"sv, style);
    const QVariant start = format.property(TextProperties::ListStart);
    writeWord(out, "\\leveljc0\\levelfollow0\\levelstartat"sv, start.isValid() ? start.toInt() : 1);
    out.append("{\\leveltext"sv);
    QByteArray numbers;
    const QString text = levelText(format, level);
    for (qsizetype index = 0; index < text.size(); ++index) {
        const char16_t c = text.at(index).unicode();
        if (c >= 0x20) {
            writeText(out, text.sliced(index, 1));
            continue;
        }
        if (index > 0 && c < 9)
            numbers.append(char(index));
        out.append("\\'"sv);
        out.append(std::string_view(QByteArray::number(c, 16).rightJustified(2, '0')));
        m_needsDelimiter = false;
    }
    out.append(";}{\\levelnumbers"sv);
    for (const char at : numbers) {
        out.append("\\'"sv);
        out.append(std::string_view(QByteArray::number(int(at), 16).rightJustified(2, '0')));
    }
    m_needsDelimiter = false;
    writeWord(out, ";}\\fi-360\\li"sv, s_listLineStart * 2 * (level + 1));
    out.append("}"sv);
}

void RtfDocumentWriter::writeBlock(const QTextBlock& block, QStringView text)
{
    // Fragments of a block are contiguous: summing lengths avoids a tree walk per fragment.
    qsizetype position = 0;
    bool wroteText = false;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        const qsizetype length = fragment.length();
        // Only an object's placeholder needs its format looked at: most fragments are text.
        const int object = text[position] == QChar::ObjectReplacementCharacter
                               ? fragment.charFormat().objectType()
                               : QTextFormat::NoObject;
        if (object == QTextFormat::ImageObject) {
            closeVertical();
            closeLink();
            wroteText |= writeImage(fragment.charFormat().toImageFormat());
        } else if (object == TextProperties::HiddenTextObject) {
            writeHidden(fragment.charFormat(), fragment.charFormatIndex(), length);
            wroteText = true;
        } else if (const RtfRunStyle& style = styleFor(fragment.charFormatIndex());
                   Q_UNLIKELY(style.note != 0 || style.pageNumber)) {
            wroteText |= writeMarked(text.sliced(position, length), style);
        } else {
            wroteText |= writeRun(text.sliced(position, length), style);
        }
        position += length;
    }
    closeVertical();
    closeLink();
    // An empty paragraph still carries the formatting of its paragraph mark.
    if (!wroteText)
        writeStyle(styleFor(block.charFormatIndex()));
}

bool RtfDocumentWriter::writeRun(QStringView text, const RtfRunStyle& style)
{
    // Style changes are written only before characters that are kept, so they are the same
    // however the document splits its fragments.
    const auto kept = std::find_if(text.begin(), text.end(), [](QChar c) {
        return !RtfCharacterPolicy::isDropped(c.unicode());
    });
    if (kept == text.end())
        return false;
    if (style.link != m_openLink) {
        closeVertical();
        closeLink();
        openLink(style.link);
    }
    if (style.vertical != m_openVertical) {
        closeVertical();
        openVertical(style.vertical);
    }
    if (Q_UNLIKELY(style.seedRun != 0)) {
        writeSeedRun(text.sliced(kept - text.begin()), style);
        return true;
    }
    if (!(style == m_current))
        writeStyle(style);
    writeText(m_body, text.sliced(kept - text.begin()));
    return true;
}

// In a group of its own, as readers expect a character style: what it changes ends with it.
void RtfDocumentWriter::writeSeedRun(QStringView text, const RtfRunStyle& style)
{
    const RtfRunStyle outside = m_current;
    writeWord(m_body, "{\\cs"sv, s_seedStyle);
    // Words other readers pass over: the pieces of one run, split by the writer's edits, stay
    // one run.
    writeWord(m_body, "\\qmseedrun"sv, int(style.seedRun & 0x7fffffff));
    if (style.seedRunLength > 0 && style.seedRunLength <= 0x7fffffff)
        writeWord(m_body, "\\qmseedlen"sv, int(style.seedRunLength));
    if (style.seedRunWords > 0 && style.seedRunWords <= 0x7fffffff) {
        writeWord(m_body, "\\qmseedwords"sv, int(style.seedRunWords));
        if (style.seedRunBreaks > 0 && style.seedRunBreaks <= 0x7fffffff)
            writeWord(m_body, "\\qmseedbrk"sv, int(style.seedRunBreaks));
    }
    writeStyle(style);
    writeText(m_body, text);
    m_body.append("}"sv);
    m_needsDelimiter = false;
    m_current = outside;
    m_seedWritten = true;
}

bool RtfDocumentWriter::writeImage(const QTextImageFormat& format)
{
    const PictureBytes picture =
        PictureBytes::of(m_document.resource(QTextDocument::ImageResource, QUrl(format.name())));
    const QByteArray& data = picture.data;
    const std::string_view kind =
        picture.kind == PictureBytes::Jpeg ? "\\jpegblip"sv : "\\pngblip"sv;
    if (data.isEmpty())
        return false;
    m_body.append("{\\pict"sv);
    m_body.append(kind);
    if (const int width = qRound(Twips::fromPixels(format.width())); width > 0)
        writeWord(m_body, "\\picwgoal"sv, width);
    if (const int height = qRound(Twips::fromPixels(format.height())); height > 0)
        writeWord(m_body, "\\pichgoal"sv, height);
    static constexpr char s_hexDigits[] = "0123456789abcdef";
    char* target = m_body.reserve(data.size() * 2 + data.size() / s_imageBytesPerLine + 2);
    for (qsizetype index = 0; index < data.size(); ++index) {
        if (index % s_imageBytesPerLine == 0)
            *target++ = '\n';
        *target++ = s_hexDigits[uchar(data[index]) >> 4];
        *target++ = s_hexDigits[uchar(data[index]) & 15];
    }
    *target++ = '}';
    m_body.commit(target);
    m_needsDelimiter = false;
    return true;
}

// A mark is written as \chftn, which readers number themselves, or as the writer's own text, with
// its note after it; a page number as a PAGE field, whose result readers replace.
bool RtfDocumentWriter::writeMarked(QStringView text, const RtfRunStyle& style)
{
    closeVertical();
    closeLink();
    const RtfRunStyle outside = m_current;
    m_body.append("{"sv);
    m_needsDelimiter = false;
    RtfRunStyle inside = style;
    inside.vertical = 0;
    writeStyle(inside);
    if (style.note != 0) {
        m_noteWriting.markWritten = true;
        if (style.customMark) {
            writeWord(m_body, "\\super"sv);
            writeText(m_body, text);
        } else {
            writeWord(m_body, "\\super\\chftn"sv);
        }
        m_body.append("}"sv);
        m_current = outside;
        if (!m_noteWriting.inNote)
            writeNote(style.note);
    } else {
        if (style.vertical != 0)
            writeWord(m_body, style.vertical == 1 ? "\\super"sv : "\\sub"sv);
        m_body.append("{\\field{\\*\\fldinst PAGE}{\\fldrslt "sv);
        m_needsDelimiter = false;
        writeText(m_body, text);
        m_body.append("}}}"sv);
    }
    m_needsDelimiter = false;
    m_current = outside;
    return true;
}

void RtfDocumentWriter::writeNote(int note)
{
    const auto found = m_notes.constFind(note);
    if (found == m_notes.constEnd())
        return;
    const QList<QTextBlock>& blocks = found.value();
    m_body.append("{\\footnote"sv);
    m_needsDelimiter = true;
    if (blocks.first().blockFormat().boolProperty(PageFurniture::Endnote))
        writeWord(m_body, "\\ftnalt"sv);
    writeWord(m_body, "\\pard\\plain"sv);
    RtfParagraphBoundary boundary{plainStyle(), QByteArray()};
    m_noteWriting.inNote = true;
    for (const QTextBlock& block : blocks) {
        const QString text = block.text();
        writeParagraph(block, block.position(), text, boundary, false);
    }
    m_noteWriting.inNote = false;
    m_body.append("}"sv);
    m_needsDelimiter = false;
}

// Each header and footer is written by a writer of its own, whose fonts and colours join the
// document's tables.
void RtfDocumentWriter::writeFurniture(RtfByteSink& out)
{
    const PageFurniture furniture = PageFurniture::of(m_document);
    if (furniture.isEmpty())
        return;
    const PageFurniture plain;
    if (furniture.facingPages)
        writeWord(out, "\\facingp"sv);
    if (furniture.titlePage)
        writeWord(out, "\\titlepg"sv);
    if (furniture.headerY != plain.headerY)
        writeWord(out, "\\headery"sv, furniture.headerY);
    if (furniture.footerY != plain.footerY)
        writeWord(out, "\\footery"sv, furniture.footerY);
    writeNumbering(out, furniture.footnotes, plain.footnotes, false);
    writeNumbering(out, furniture.endnotes, plain.endnotes, true);
    for (size_t story = 0; story < furniture.stories.size(); ++story) {
        if (furniture.stories[story].isEmpty())
            continue;
        QTextDocument document;
        document.setDefaultFont(m_document.defaultFont());
        RtfReader().read(furniture.stories[story], &document);
        RtfDocumentWriter writer(document, m_styles);
        writer.writeBlocks(nullptr, {});
        m_styles.adoptTables(writer.m_styles);
        out.append(s_storyGroups[story]);
        out.append("\\pard\\plain "sv);
        const QByteArray body = writer.m_body.take();
        out.append(std::string_view(body.constData(), size_t(body.size())));
        out.append("}"sv);
    }
    out.append("\n"sv);
}

void RtfDocumentWriter::writeNumbering(RtfByteSink& out, const Numbering& numbering,
                                       const Numbering& plain, bool endnotes)
{
    static constexpr std::string_view styles[] = {"ar"sv,  "alc"sv, "auc"sv,
                                                  "rlc"sv, "ruc"sv, "chi"sv};
    if (numbering.style != plain.style) {
        out.append(endnotes ? "\\aftnn"sv : "\\ftnn"sv);
        writeWord(out, styles[numbering.style]);
    }
    if (numbering.start != plain.start)
        writeWord(out, endnotes ? "\\aftnstart"sv : "\\ftnstart"sv, numbering.start);
}

void RtfDocumentWriter::writeHidden(const QTextCharFormat& format, int formatIndex, qsizetype count)
{
    closeVertical();
    closeLink();
    const RtfRunStyle& style = styleFor(formatIndex);
    if (!(style == m_current))
        writeStyle(style);
    const QString text = format.stringProperty(TextProperties::HiddenText);
    for (qsizetype object = 0; object < count; ++object) {
        writeWord(m_body, "{\\v"sv);
        writeText(m_body, text);
        m_body.append("}"sv);
        m_needsDelimiter = false;
    }
}

void RtfDocumentWriter::openLink(const QString& link)
{
    if (link.isEmpty())
        return;
    m_body.append("{\\field{\\*\\fldinst{HYPERLINK \""sv);
    m_needsDelimiter = false;
    // The target is one quoted argument, so a quote inside it is escaped as in a URL.
    writeText(m_body, QString(link).replace(u'"', QLatin1String("%22")));
    m_body.append("\"}}{\\fldrslt{"sv);
    m_needsDelimiter = false;
    m_outsideLink = m_current;
    m_openLink = link;
}

void RtfDocumentWriter::closeLink()
{
    if (m_openLink.isEmpty())
        return;
    m_body.append("}}}"sv);
    m_needsDelimiter = false;
    m_current = m_outsideLink;
    m_openLink.clear();
}

void RtfDocumentWriter::openVertical(int vertical)
{
    if (vertical == 0)
        return;
    m_body.append("{"sv);
    writeWord(m_body, vertical == 1 ? "\\super"sv : "\\sub"sv);
    m_outsideVertical = m_current;
    m_current.vertical = vertical;
    m_openVertical = vertical;
}

void RtfDocumentWriter::closeVertical()
{
    if (m_openVertical == 0)
        return;
    m_body.append("}"sv);
    m_needsDelimiter = false;
    m_current = m_outsideVertical;
    m_openVertical = 0;
}

void RtfDocumentWriter::writeStyle(const RtfRunStyle& style)
{
    if (style.bold != m_current.bold)
        writeWord(m_body, style.bold ? "\\b"sv : "\\b0"sv);
    if (style.italic != m_current.italic)
        writeWord(m_body, style.italic ? "\\i"sv : "\\i0"sv);
    if (style.underline != m_current.underline)
        writeWord(m_body, style.underline ? "\\ul"sv : "\\ulnone"sv);
    if (style.strike != m_current.strike)
        writeWord(m_body, style.strike ? "\\strike"sv : "\\strike0"sv);
    if (style.color != m_current.color)
        writeWord(m_body, "\\cf"sv, style.color);
    if (style.font != m_current.font)
        writeWord(m_body, "\\f"sv, style.font);
    if (style.halfPoints != m_current.halfPoints)
        writeWord(m_body, "\\fs"sv, style.halfPoints);
    if (style.highlight != m_current.highlight)
        writeWord(m_body, "\\highlight"sv, style.highlight);
    m_current = style;
}

void RtfDocumentWriter::writeWord(RtfByteSink& out, std::string_view word)
{
    out.append(word);
    m_needsDelimiter = true;
}

void RtfDocumentWriter::writeWord(RtfByteSink& out, std::string_view word, int parameter)
{
    char* target = out.reserve(qsizetype(word.size()) + 12);
    target = std::copy(word.begin(), word.end(), target);
    out.commit(std::to_chars(target, target + 12, parameter).ptr);
    m_needsDelimiter = true;
}

void RtfDocumentWriter::writeText(RtfByteSink& out, QStringView text)
{
    char* target = out.reserve(text.size() * s_maxBytesPerUnit);
    for (const QChar* at = text.begin(); at != text.end(); ++at) {
        const char16_t c = at->unicode();
        if (isPlain(c)) {
            if (m_needsDelimiter && needsDelimiter(c))
                *target++ = ' ';
            m_needsDelimiter = false;
            *target++ = char(c);
        } else if (isUnicodeEscaped(c)) {
            target = writeUnicode(target, QChar::isSurrogate(c) && isLoneSurrogate(text, at)
                                              ? char16_t(QChar::ReplacementCharacter)
                                              : c);
            m_needsDelimiter = false;
        } else {
            target = writeSpecial(target, c);
        }
    }
    out.commit(target);
}

char* RtfDocumentWriter::writeSpecial(char* target, char16_t c)
{
    if (c == u'\t' || c == QChar::LineSeparator) {
        const std::string_view word = c == u'\t' ? "\\tab"sv : "\\line"sv;
        m_needsDelimiter = true;
        return std::copy(word.begin(), word.end(), target);
    }
    if (RtfCharacterPolicy::isDropped(c))
        return target;
    m_needsDelimiter = false;
    *target++ = '\\';
    *target++ = char(c);
    return target;
}
