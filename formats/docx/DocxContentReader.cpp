#include "formats/docx/DocxContentReader.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/ReadingBounds.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/docx/DocxNumbering.h"
#include "formats/docx/DocxStyles.h"
#include "formats/docx/DocxXml.h"

#include "formats/base/XmlReader.h"
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Deeper nesting of links, fields and content controls than real documents use is hostile.
constexpr int s_maxDepth = 64;
constexpr int s_maxTableDepth = 16;
constexpr int s_progressStep = 512;
// Longer pPr and rPr elements are rare enough to read each time; more would be memory for nothing.
constexpr qsizetype s_longestKeptProperties = 1024;
constexpr size_t s_propertiesKept = 1024;
// English Metric Units in a pixel of 1/96 inch.
constexpr double s_emuPerPixel = 9525;

QString tr(const char* text)
{
    return QCoreApplication::translate("DocxReader", text);
}

bool isPicture(const QByteArray& data)
{
    return data.startsWith("\x89PNG\r\n\x1a\n") || data.startsWith("\xff\xd8\xff") ||
           data.startsWith("GIF8") || data.startsWith("BM");
}

// The size a VML shape's style gives, in pixels; zero where it says none.
QSizeF vmlSize(QStringView style)
{
    static const QRegularExpression length(
        QStringLiteral("(width|height)\\s*:\\s*([0-9.]+)\\s*(pt|px|in)"));
    QSizeF size;
    for (const QRegularExpressionMatch& match : length.globalMatch(style)) {
        const double unit = match.captured(3) == u"pt"   ? 96.0 / 72
                            : match.captured(3) == u"in" ? 96
                                                         : 1;
        const double value = match.captured(2).toDouble() * unit;
        if (match.captured(1) == u"width")
            size.setWidth(value);
        else
            size.setHeight(value);
    }
    return size;
}

// The target of a HYPERLINK field's instruction: its quoted address, or "#name" after \l.
QString linkOf(QStringView instruction)
{
    const qsizetype open = instruction.indexOf(u'"');
    const qsizetype close = open < 0 ? -1 : instruction.indexOf(u'"', open + 1);
    if (close < 0)
        return {};
    const QString target = instruction.sliced(open + 1, close - open - 1).toString();
    return instruction.contains(u"\\l") ? u'#' + target : target;
}

QStringView fieldName(QStringView instruction)
{
    const QStringView trimmed = instruction.trimmed();
    return trimmed.first(std::min(
        trimmed.indexOf(u' ') < 0 ? trimmed.size() : trimmed.indexOf(u' '), trimmed.size()));
}

} // namespace

struct DocxContentReader::TableState
{
    using Merge = DocxStoryBuilder::Merge;
    /// 0 until the table is made at its first row.
    int columns = 0;
    QTextTableFormat format;
    QList<int> grid;
    int row = -1;
    bool bordersGiven = false;
    std::vector<Merge> merges;
    QHash<int, size_t> vertical;
};

DocxContentReader::DocxContentReader(DocxReadContext& context, DocxRelationships relationships,
                                     QTextCursor cursor, BuildSteps& steps)
    : m_context(context), m_relationships(std::move(relationships)), m_steps(steps),
      m_builder(std::move(cursor)), m_style(context.styles.paragraph(m_paragraphStyle))
{
}

void DocxContentReader::startNote(int number, bool endnote)
{
    m_note = number;
    m_noteFormat = QTextBlockFormat();
    m_noteFormat.setProperty(PageFurniture::NoteBody, number);
    if (endnote)
        m_noteFormat.setProperty(PageFurniture::Endnote, true);
}

void DocxContentReader::continueAfter(const QTextCursor& cursor)
{
    m_steps.post([&builder = m_builder, cursor] { builder.moveTo(cursor); });
    m_unusedBlock = false;
}

void DocxContentReader::setProgress(const Progress& progress, qint64 total)
{
    m_progress = progress;
    m_total = total;
}

void DocxContentReader::readBlocks(XmlReader& xml)
{
    while (xml.readNextStartElement())
        readBlock(xml, 0);
    flush();
}

void DocxContentReader::readBlock(XmlReader& xml, int depth)
{
    const QStringView name = xml.name();
    if (name == u"p") {
        readParagraph(xml);
        if (m_progress && ++m_paragraphs % s_progressStep == 0)
            m_progress(xml.bytesRead(), m_total);
    } else if (name == u"tbl") {
        readTable(xml, depth);
    } else if (name == u"sectPr" && onSection) {
        endSection(xml);
    } else if ((name == u"sdt" || name == u"sdtContent" || name == u"customXml" ||
                name == u"ins") &&
               depth < s_maxDepth) {
        while (xml.readNextStartElement())
            readBlock(xml, depth + 1);
    } else {
        xml.skipCurrentElement();
    }
}

void DocxContentReader::readParagraph(XmlReader& xml)
{
    m_blockOpen = false;
    m_blockHasText = false;
    m_splitPending = false;
    usePropertiesOf({}, {});
    bool sectionEnds = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"pPr")
            sectionEnds = readParagraphProperties(xml) || sectionEnds;
        else
            readInline(xml, 0);
    }
    if (!m_blockOpen)
        openBlock();
    flush();
    m_pageBreakNext = std::exchange(m_splitPending, false);
    m_sectionStarts = sectionEnds;
}

// Uses a pPr's properties, and says whether a section ends with the paragraph. One that ends
// none makes what the same bytes made before.
bool DocxContentReader::readParagraphProperties(XmlReader& xml)
{
    const QByteArrayView bytes = xml.elementBytes(s_longestKeptProperties);
    const std::string_view key(bytes.data(), size_t(bytes.size()));
    if (const auto kept = bytes.isEmpty() ? m_paragraphFormats.end() : m_paragraphFormats.find(key);
        kept != m_paragraphFormats.end()) {
        xml.skipElement(bytes);
        usePropertiesOf(kept->second.first, kept->second.second);
        return false;
    }
    bool sectionEnds = false;
    const auto section = [&](XmlReader& xml) {
        sectionEnds = bool(onSection);
        if (sectionEnds)
            endSection(xml);
        else
            xml.skipCurrentElement();
    };
    DocxParagraphProperties direct;
    QTextCharFormat mark;
    direct.read(xml, m_context.styles.theme(), &mark, section);
    usePropertiesOf(direct, mark);
    if (!sectionEnds && xml.readWhole(bytes) && m_paragraphFormats.size() < s_propertiesKept)
        m_paragraphFormats.try_emplace(std::string(key), direct, mark);
    return sectionEnds;
}

// A section says how it starts, on a page of its own or not, where it ends: its first paragraph
// learns it then.
void DocxContentReader::endSection(XmlReader& xml)
{
    if (onSection(xml))
        m_steps.post([&builder = m_builder] { builder.breakSectionStart(); });
}

void DocxContentReader::usePropertiesOf(const DocxParagraphProperties& direct,
                                        const QTextCharFormat& mark)
{
    if (direct.style != m_paragraphStyle) {
        m_style = m_context.styles.paragraph(direct.style);
        m_paragraphStyle = direct.style;
    }
    m_paragraph = m_style.properties;
    m_paragraph.merge(direct);
    m_paragraphChars = m_style.chars;
    m_mark = m_style.chars;
    m_mark.merge(mark);
    // Clearing what is not there would still copy the format.
    if (m_mark.hasProperty(DocxRunProperties::Hidden))
        m_mark.clearProperty(DocxRunProperties::Hidden);
}

void DocxContentReader::readInline(XmlReader& xml, int depth)
{
    const QStringView name = xml.name();
    if (name == u"r")
        readRun(xml);
    else if (depth >= s_maxDepth)
        xml.skipCurrentElement();
    else if (name == u"hyperlink")
        readHyperlink(xml, depth);
    else if (name == u"fldSimple")
        readSimpleField(xml, depth);
    else if (name == u"ins" || name == u"smartTag" || name == u"customXml" || name == u"sdt" ||
             name == u"sdtContent" || name == u"moveTo" || name == u"dir" || name == u"bdo")
        readChildren(xml, depth);
    else
        xml.skipCurrentElement();
}

void DocxContentReader::readChildren(XmlReader& xml, int depth)
{
    while (xml.readNextStartElement())
        readInline(xml, depth + 1);
}

void DocxContentReader::readHyperlink(XmlReader& xml, int depth)
{
    const QString id = DocxXml::attribute(xml, "id"_L1).toString();
    const QStringView anchor = DocxXml::attribute(xml, "anchor"_L1);
    QString link = !anchor.isEmpty() ? u'#' + anchor.toString() : QString();
    if (const auto found = m_relationships.constFind(id); found != m_relationships.constEnd())
        link = found->target + (anchor.isEmpty() ? QString() : u'#' + anchor.toString());
    const QString outside = std::exchange(m_link, link);
    readChildren(xml, depth);
    m_link = outside;
}

void DocxContentReader::readSimpleField(XmlReader& xml, int depth)
{
    m_fields.push_back({DocxXml::attribute(xml, "instr"_L1).toString(), true, false});
    readChildren(xml, depth);
    endField(m_paragraphChars);
}

void DocxContentReader::readRun(XmlReader& xml)
{
    const XmlAttributes run = xml.attributes();
    QTextCharFormat format = m_paragraphChars;
    bool fresh = true;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"rPr") {
            const bool seed = readRunProperties(xml, format, std::exchange(fresh, false));
            markSeed(format, seed, run);
        } else {
            // A run with no style of its own is the writer's.
            if (!format.hasProperty(TextProperties::SeedRun))
                m_seedRun = 0;
            readRunContent(xml, format);
        }
    }
}

// Merges what an rPr gives into format, and says whether it makes seed text. Read fresh, the
// format is the paragraph's alone: what the same bytes made before it makes again.
bool DocxContentReader::readRunProperties(XmlReader& xml, QTextCharFormat& format, bool fresh)
{
    const QByteArrayView bytes =
        fresh ? xml.elementBytes(s_longestKeptProperties) : QByteArrayView();
    const std::pair key(QStringView(m_paragraphStyle), bytes);
    if (const auto kept = bytes.isEmpty() ? m_runFormats.end() : m_runFormats.find(key);
        kept != m_runFormats.end()) {
        xml.skipElement(bytes);
        format = kept->second.format;
        return kept->second.seed;
    }
    QTextCharFormat direct;
    const QString style = DocxRunProperties::read(xml, direct, m_context.styles.theme());
    format.merge(m_context.styles.character(style));
    format.merge(direct);
    const bool seed = style == QLatin1String(DocxXml::seedTextStyle);
    if (xml.readWhole(bytes) && m_runFormats.size() < s_propertiesKept)
        m_runFormats.try_emplace({m_paragraphStyle, bytes.toByteArray()}, RunFormat{format, seed});
    return seed;
}

// Word splits text into runs as it likes: seed runs next to each other are one run of seed
// words, as they were written, unless they name their runs.
void DocxContentReader::markSeed(QTextCharFormat& format, bool seed, const XmlAttributes& run)
{
    if (!seed || m_seedRuns.read(run, format)) {
        m_seedRun = 0;
        return;
    }
    if (m_seedRun == 0)
        m_seedRun = TextProperties::newSeedRun();
    format.setProperty(TextProperties::SeedRun, m_seedRun);
}

void DocxContentReader::readRunContent(XmlReader& xml, const QTextCharFormat& format)
{
    const QStringView name = xml.name();
    if (name == u"t") {
        m_text.truncate(0);
        xml.readElementText(m_text);
        insertText(m_text, format);
        return;
    }
    if (name == u"instrText" && !m_fields.empty() && !m_fields.back().inResult) {
        m_fields.back().instruction += xml.readElementText();
        return;
    }
    if (name == u"drawing" || name == u"pict") {
        readPicture(xml);
        return;
    }
    // Text boxes, drawn shapes and embedded objects hold more than a run can.
    if (name == u"AlternateContent" || name == u"object")
        m_context.losses.insert(tr("text boxes, shapes and embedded objects"));
    if (name == u"tab")
        insertText(QStringLiteral("\t"), format);
    else if (name == u"br" && DocxXml::attribute(xml, "type"_L1) == u"page")
        breakPage();
    else if (name == u"br" || name == u"cr")
        insertText(QString(QChar::LineSeparator), format);
    else if (name == u"noBreakHyphen")
        insertText(QStringLiteral("\u2011"), format);
    else if (name == u"softHyphen")
        insertText(QStringLiteral("\u00ad"), format);
    else if (name == u"sym")
        insertText(QString(QChar(char16_t(DocxXml::attribute(xml, "char"_L1).toUInt(nullptr, 16)))),
                   format);
    else if (name == u"footnoteReference" || name == u"endnoteReference" ||
             name == u"footnoteRef" || name == u"endnoteRef")
        insertNoteMark(xml, format);
    else if (name == u"fldChar")
        readFieldChar(xml, format);
    xml.skipCurrentElement();
}

void DocxContentReader::readFieldChar(const XmlReader& xml, const QTextCharFormat& format)
{
    const QStringView type = DocxXml::attribute(xml, "fldCharType"_L1);
    if (type == u"begin")
        m_fields.push_back({});
    else if (type == u"separate" && !m_fields.empty())
        m_fields.back().inResult = true;
    else if (type == u"end")
        endField(format);
}

// A page number field Word left without its result still stands for the number.
void DocxContentReader::endField(const QTextCharFormat& format)
{
    if (m_fields.empty())
        return;
    const Field field = m_fields.back();
    m_fields.pop_back();
    if (!field.wroteText && fieldName(field.instruction) == u"PAGE") {
        QTextCharFormat number = format;
        number.setProperty(PageFurniture::PageNumber, true);
        insertText(QStringLiteral("1"), number);
    }
}

// In the body a mark numbers the note it refers to; in a note, the note itself.
void DocxContentReader::insertNoteMark(const XmlReader& xml, const QTextCharFormat& format)
{
    const bool own = xml.name().endsWith(u"Ref");
    int number = m_note;
    if (!own) {
        const auto id = DocxXml::number(xml, "id"_L1);
        if (!id || m_note > 0)
            return;
        const qint64 key = DocxReadContext::noteKey(xml.name() == u"endnoteReference", *id);
        auto found = m_context.notes.find(key);
        if (found == m_context.notes.end())
            found = m_context.notes.insert(key, ++m_context.noteCount);
        number = *found;
    }
    if (number <= 0)
        return;
    // A mark of the writer's own, such as an asterisk, is the text that follows.
    const QStringView custom = DocxXml::attribute(xml, "customMarkFollows"_L1);
    if (!own && !custom.isEmpty() && DocxXml::isOn(custom)) {
        m_customMark = number;
        return;
    }
    QTextCharFormat mark = format;
    mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    mark.setProperty(PageFurniture::NoteMark, number);
    insertText(QString::number(number), mark);
}

void DocxContentReader::readPicture(XmlReader& xml)
{
    QString relationship;
    QSizeF size;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const XmlReader::TokenType token = xml.readNext();
        if (token == XmlReader::EndElement) {
            --depth;
            continue;
        }
        if (token != XmlReader::StartElement)
            continue;
        ++depth;
        const QStringView name = xml.name();
        if (name == u"extent" && size.isEmpty())
            size = QSizeF(DocxXml::number(xml, "cx"_L1).value_or(0) / s_emuPerPixel,
                          DocxXml::number(xml, "cy"_L1).value_or(0) / s_emuPerPixel);
        else if (name == u"shape" && size.isEmpty())
            size = vmlSize(DocxXml::attribute(xml, "style"_L1));
        else if (name == u"blip" && relationship.isEmpty())
            relationship = DocxXml::attribute(xml, "embed"_L1).toString();
        else if (name == u"imagedata" && relationship.isEmpty())
            relationship = DocxXml::attribute(xml, "id"_L1).toString();
    }
    insertPicture(relationship, size);
}

void DocxContentReader::insertPicture(const QString& relationship, QSizeF size)
{
    const DocxRelationship target = m_relationships.value(relationship);
    const std::optional<QByteArray> data =
        target.target.isEmpty() || target.external || !m_context.package.contains(target.target)
            ? std::nullopt
            : m_context.package.read(target.target);
    if (!data || !isPicture(*data)) {
        m_context.losses.insert(tr("pictures other than PNG, JPEG, GIF or BMP"));
        return;
    }
    makeRoom();
    // Named by content, so a picture pasted into another document never takes another's name.
    QTextImageFormat format;
    format.setName(
        QStringLiteral("docximage:") +
        QString::fromLatin1(QCryptographicHash::hash(*data, QCryptographicHash::Sha1).toHex()));
    if (size.width() > 0)
        format.setWidth(size.width());
    if (size.height() > 0)
        format.setHeight(size.height());
    flush();
    m_steps.post(
        [&builder = m_builder, data = *data, format] { builder.insertImage(data, format); });
    m_blockHasText = true;
}

void DocxContentReader::makeRoom()
{
    if (!m_blockOpen) {
        openBlock();
    } else if (m_splitPending) {
        flush();
        m_splitPending = false;
        BuildSteps::settle(m_mark);
        m_steps.post([&builder = m_builder, mark = m_mark] { builder.splitBlock(mark); });
    }
}

void DocxContentReader::insertText(const QString& text, const QTextCharFormat& format)
{
    std::optional<QTextCharFormat> inField;
    if (!m_fields.empty() && !(inField = fieldFormat(format)))
        return;
    QTextCharFormat run = inField ? *inField : format;
    if (!m_link.isEmpty()) {
        run.setAnchor(true);
        run.setAnchorHref(m_link);
    }
    if (m_customMark > 0) {
        run.setProperty(PageFurniture::NoteMark, std::exchange(m_customMark, 0));
        run.setProperty(PageFurniture::CustomMark, true);
    }
    makeRoom();
    m_blockHasText = true;
    if (run.hasProperty(DocxRunProperties::Hidden)) {
        if (run.boolProperty(DocxRunProperties::Hidden))
            return insertHidden(text, run);
        run.clearProperty(DocxRunProperties::Hidden);
    }
    if (!m_pending.isEmpty() && run != m_pendingFormat)
        flush();
    if (m_pending.isEmpty())
        m_pendingFormat = run;
    m_pending += text;
}

void DocxContentReader::flush()
{
    if (m_pending.isEmpty())
        return;
    m_steps.insertText(m_builder.cursor(), m_pending, m_pendingFormat);
    // Kept, not freed, for the next paragraph's text.
    m_pending.truncate(0);
}

void DocxContentReader::insertHidden(const QString& text, QTextCharFormat format)
{
    flush();
    format.clearProperty(DocxRunProperties::Hidden);
    format.setObjectType(TextProperties::HiddenTextObject);
    format.setProperty(TextProperties::HiddenText, text);
    m_steps.insertText(m_builder.cursor(), QString(QChar::ObjectReplacementCharacter), format);
}

std::optional<QTextCharFormat> DocxContentReader::fieldFormat(const QTextCharFormat& format)
{
    QTextCharFormat run = format;
    for (const Field& field : m_fields) {
        if (!field.inResult)
            return std::nullopt;
        const QStringView name = fieldName(field.instruction);
        if (name == u"PAGE") {
            run.setProperty(PageFurniture::PageNumber, true);
        } else if (name == u"HYPERLINK") {
            run.setAnchor(true);
            run.setAnchorHref(linkOf(field.instruction));
        }
    }
    m_fields.back().wroteText = true;
    return run;
}

void DocxContentReader::openBlock()
{
    flush();
    const int numId = m_paragraph.numId.value_or(0);
    const int level = std::clamp(m_paragraph.level.value_or(0), 0, DocxNumbering::levelCount - 1);
    const QTextListFormat list =
        numId > 0 ? m_context.numbering.format(numId, level) : QTextListFormat();
    const bool inList = list.style() != QTextListFormat::ListStyleUndefined;
    QTextBlockFormat format = m_paragraph.blockFormat(inList);
    format.merge(m_noteFormat);
    if (std::exchange(m_pageBreakNext, false))
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    BuildSteps::settle(m_mark);
    m_steps.post([&builder = m_builder, format, mark = m_mark,
                  unused = std::exchange(m_unusedBlock, false),
                  startsSection = std::exchange(m_sectionStarts, false)] {
        builder.openBlock(format, mark, unused, startsSection);
    });
    m_blockOpen = true;
    if (inList) {
        BuildSteps::settle(list);
        m_steps.post(
            [&builder = m_builder, list, numId, level] { builder.joinList(list, numId, level); });
    }
}

// A page break at a paragraph's start starts its page; after text it splits the paragraph
// once more comes, and at its end the next paragraph starts the page.
void DocxContentReader::breakPage()
{
    if (m_blockHasText) {
        m_splitPending = true;
    } else if (m_blockOpen) {
        m_steps.post([&builder = m_builder] { builder.breakPageBefore(); });
    } else {
        m_pageBreakNext = true;
    }
}

void DocxContentReader::readTable(XmlReader& xml, int depth)
{
    if (m_tableDepth >= s_maxTableDepth || depth >= s_maxDepth) {
        m_context.losses.insert(tr("tables nested too deep"));
        xml.skipCurrentElement();
        return;
    }
    ++m_tableDepth;
    TableState table;
    table.format.setBorderCollapse(true);
    table.format.setCellSpacing(0);
    table.format.setBorder(0);
    table.format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    table.format.setCellPadding(Twips::toPixels(108));
    while (xml.readNextStartElement()) {
        if (xml.name() == u"tblPr") {
            readTableProperties(xml, table);
        } else if (xml.name() == u"tblGrid") {
            while (xml.readNextStartElement()) {
                table.grid.append(DocxXml::number(xml, "w"_L1).value_or(0));
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"tr") {
            readRow(xml, table, depth);
        } else {
            xml.skipCurrentElement();
        }
    }
    closeTable(table);
    --m_tableDepth;
}

namespace {

void setBorder(QTextTableFormat& format, int twips)
{
    const qreal border = Twips::toPixels(twips);
    format.setBorder(twips > 0 ? std::max<qreal>(border, 1) : 0);
    if (twips > 0 && border < 1)
        format.setProperty(TextProperties::TableBorderTwips, twips);
    format.setBorderStyle(twips > 0 ? QTextFrameFormat::BorderStyle_Solid
                                    : QTextFrameFormat::BorderStyle_None);
}

} // namespace

void DocxContentReader::readTableProperties(XmlReader& xml, TableState& table)
{
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"tblBorders") {
            if (const std::optional<int> border = DocxXml::readBorders(xml)) {
                setBorder(table.format, *border);
                table.bordersGiven = true;
            }
            continue;
        }
        // Word's own tables take their lines from a table style.
        if (name == u"tblStyle" && !table.bordersGiven) {
            if (const std::optional<int> border =
                    m_context.styles.tableBorder(DocxXml::attribute(xml, "val"_L1).toString()))
                setBorder(table.format, *border);
        }
        if (name == u"tblInd" && DocxXml::number(xml, "w"_L1).value_or(0) > 0)
            table.format.setLeftMargin(Twips::toPixels(*DocxXml::number(xml, "w"_L1)));
        if (name == u"tblCellMar") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"left" || xml.name() == u"start")
                    table.format.setCellPadding(
                        Twips::toPixels(DocxXml::number(xml, "w"_L1).value_or(108)));
                xml.skipCurrentElement();
            }
            continue;
        }
        xml.skipCurrentElement();
    }
}

void DocxContentReader::readRow(XmlReader& xml, TableState& table, int depth)
{
    if (table.columns == 0)
        createTable(table);
    else
        m_steps.post([&builder = m_builder] { builder.appendRow(); });
    ++table.row;
    int column = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"trPr") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"gridBefore")
                    column += std::clamp(DocxXml::number(xml, "val"_L1).value_or(0), 0,
                                         ReadingBounds::tableColumns);
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"tc") {
            column += readCell(xml, table, column, depth);
        } else {
            xml.skipCurrentElement();
        }
    }
}

// Reads a cell that starts at column, and returns the columns it spans.
int DocxContentReader::readCell(XmlReader& xml, TableState& table, int column, int depth)
{
    Cell cell;
    bool placed = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"tcPr") {
            cell = readCellProperties(xml, table);
            continue;
        }
        if (!std::exchange(placed, true))
            placeCell(table, column, cell);
        if (cell.continued)
            xml.skipCurrentElement();
        else
            readBlock(xml, depth + 1);
    }
    if (!placed)
        placeCell(table, column, cell);
    m_blockOpen = false;
    return cell.span;
}

DocxContentReader::Cell DocxContentReader::readCellProperties(XmlReader& xml, TableState& table)
{
    Cell cell;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"gridSpan") {
            cell.span = std::clamp(DocxXml::number(xml, "val"_L1).value_or(1), 1,
                                   ReadingBounds::tableColumns);
        } else if (name == u"vMerge") {
            cell.merged = DocxXml::attribute(xml, "val"_L1) == u"restart";
            cell.continued = !cell.merged;
        } else if (name == u"tcBorders") {
            // Some writers give a table's borders cell by cell.
            const std::optional<int> border = DocxXml::readBorders(xml);
            if (border && !table.bordersGiven && *border > 0)
                setBorder(table.format, *border);
            continue;
        }
        xml.skipCurrentElement();
    }
    return cell;
}

void DocxContentReader::placeCell(TableState& table, int& column, const Cell& cell)
{
    const int needed = std::min(column + cell.span, ReadingBounds::tableColumns);
    if (needed > table.columns) {
        table.columns = needed;
        m_steps.post([&builder = m_builder, needed] { builder.widenTable(needed); });
    }
    column = std::min(column, table.columns - 1);
    const int span = std::min(cell.span, table.columns - column);
    if (cell.continued) {
        if (const auto above = table.vertical.constFind(column); above != table.vertical.cend()) {
            TableState::Merge& merge = table.merges[*above];
            merge.rows = table.row - merge.row + 1;
        }
        return;
    }
    m_steps.post(
        [&builder = m_builder, row = table.row, column] { builder.moveToCell(row, column); });
    m_unusedBlock = true;
    m_blockOpen = false;
    table.vertical.remove(column);
    if (span > 1 || cell.merged)
        table.merges.push_back({table.row, column, 1, span});
    if (cell.merged)
        table.vertical.insert(column, table.merges.size() - 1);
}

void DocxContentReader::createTable(TableState& table)
{
    const int columns = std::clamp(int(table.grid.size()), 1, ReadingBounds::tableColumns);
    QList<QTextLength> widths;
    for (int column = 0; column < int(table.grid.size()) && column < columns; ++column)
        widths.append(table.grid[column] > 0 ? QTextLength(QTextLength::FixedLength,
                                                           Twips::toPixels(table.grid[column]))
                                             : QTextLength());
    table.format.setColumnWidthConstraints(widths);
    table.columns = columns;
    m_steps.post(
        [&builder = m_builder, format = table.format, columns,
         after = m_blockOpen || !m_unusedBlock] { builder.createTable(format, columns, after); });
}

void DocxContentReader::closeTable(TableState& table)
{
    if (table.columns == 0)
        return;
    m_steps.post([&builder = m_builder, merges = std::move(table.merges), borders = table.format] {
        builder.closeTable(merges, borders);
    });
    m_unusedBlock = true;
    m_blockOpen = false;
}
