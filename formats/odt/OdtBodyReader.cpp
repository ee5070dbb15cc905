#include "formats/odt/OdtBodyReader.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/ReadingBounds.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/odt/OdtPackage.h"
#include "formats/odt/OdtStoryBuilder.h"
#include "formats/odt/OdtStyleSheet.h"
#include "formats/odt/OdtXml.h"

#include "formats/base/XmlReader.h"
#include <QCoreApplication>
#include <QCryptographicHash>

#include <utility>

namespace {

using OdtXml::draw;
using OdtXml::is;
using OdtXml::text;

constexpr int s_maxSpaces = 1000;
constexpr int s_progressStep = 256;

QString tr(const char* source)
{
    return QCoreApplication::translate("OdtReader", source);
}

// Elements that hold paragraphs as the body does: sections and generated indexes.
bool isSection(const XmlReader& xml)
{
    static const QStringList names = {QStringLiteral("section"),
                                      QStringLiteral("table-of-content"),
                                      QStringLiteral("index-body"),
                                      QStringLiteral("index-title"),
                                      QStringLiteral("alphabetical-index"),
                                      QStringLiteral("illustration-index"),
                                      QStringLiteral("bibliography"),
                                      QStringLiteral("user-index"),
                                      QStringLiteral("object-index"),
                                      QStringLiteral("table-index")};
    return xml.namespaceUri() == text && names.contains(xml.name());
}

int count(QStringView value, int most)
{
    return std::clamp(value.isEmpty() ? 1 : value.toInt(), 1, most);
}

} // namespace

struct OdtBodyReader::TableBuild
{
    /// 0 until the table is made at its first row.
    int columns = 0;
    const OdtStyleSheet::Style* style = nullptr;
    std::vector<double> widths;
    int row = -1;
    std::optional<double> border;
    std::optional<double> padding;
    std::vector<OdtStoryBuilder::Merge> merges;
};

OdtBodyReader::OdtBodyReader(XmlReader& xml, OdtStyleSheet& styles, OdtPackage& package,
                             OdtStoryBuilder& builder, BuildSteps& steps)
    : m_xml(xml), m_styles(styles), m_package(package), m_builder(builder), m_steps(steps)
{
    m_notes.notes = true;
}

void OdtBodyReader::read(const Progress& progress, qint64 total)
{
    m_progress = progress;
    m_total = total;
    // One edit for the whole text, or Qt would look the document over after every insertion.
    m_steps.post([&builder = m_builder] { builder.beginEdit(); });
    readBlocks(0);
    m_steps.post([&builder = m_builder] { builder.endEdit(); });
}

bool OdtBodyReader::enter(int depth)
{
    if (depth <= OdtXml::saneDepth)
        return true;
    m_xml.raiseError(tr("it nests its parts deeper than any real document does"));
    return false;
}

void OdtBodyReader::readBlocks(int depth)
{
    if (!enter(depth))
        return;
    while (m_xml.readNextStartElement()) {
        if (is(m_xml, text, u"p") || is(m_xml, text, u"h"))
            readParagraph(depth + 1);
        else if (is(m_xml, text, u"list"))
            readList(depth + 1, m_listStyle, m_listLevel + 1);
        else if (is(m_xml, OdtXml::table, u"table"))
            readTable(depth + 1);
        else if (isSection(m_xml))
            readBlocks(depth + 1);
        else
            m_xml.skipCurrentElement();
    }
}

void OdtBodyReader::readParagraph(int depth)
{
    const QStringView style = OdtXml::attribute(m_xml, text, u"style-name");
    if (!std::exchange(m_firstSeen, true))
        m_firstStyle = style.toString();
    QTextBlockFormat block = m_styles.paragraphBlock(style);
    const QTextCharFormat chars = m_styles.paragraphChars(style);
    // A list brings its own indent.
    if (m_listLevel > 0) {
        block.clearProperty(QTextFormat::BlockLeftMargin);
        block.clearProperty(QTextFormat::TextIndent);
    }
    if (m_note > 0) {
        block.setProperty(PageFurniture::NoteBody, m_note);
        if (m_endnote)
            block.setProperty(PageFurniture::Endnote, true);
    }
    startParagraph(block, chars);
    if (m_listLevel > 0)
        joinList(m_listLevel, style);
    if (std::exchange(m_noteMarkPending, false)) {
        QTextCharFormat mark = chars;
        mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        mark.setProperty(PageFurniture::NoteMark, m_note);
        insertLiteral(QString::number(m_note), mark);
        // A space keeps the number off the note's first word, as the note's own indent does.
        insertLiteral(QStringLiteral(" "), chars);
        m_target->afterSpace = true;
    }
    readInline(chars, depth);
    endParagraph();
    if (m_progress && ++m_paragraphs % s_progressStep == 0)
        m_progress(m_xml.bytesRead(), m_total);
}

void OdtBodyReader::readInline(const QTextCharFormat& format, int depth)
{
    if (!enter(depth))
        return;
    while (!m_xml.atEnd()) {
        const XmlReader::TokenType token = m_xml.readNext();
        if (token == XmlReader::EndElement)
            return;
        if (token == XmlReader::Characters) {
            insertText(m_xml.text(), format);
            continue;
        }
        if (token != XmlReader::StartElement)
            continue;
        const bool span = is(m_xml, text, u"span");
        const bool link = is(m_xml, text, u"a");
        if (span || link) {
            const QStringView style = OdtXml::attribute(m_xml, text, u"style-name");
            QTextCharFormat inner = m_styles.spanChars(format, style);
            // Each span in the seed's style is a run of its own, as the writer left it, unless
            // it names its run.
            if (span && m_styles.isSeedText(style) && !m_seedRuns.read(m_xml.attributes(), inner))
                inner.setProperty(TextProperties::SeedRun, TextProperties::newSeedRun());
            if (link) {
                inner.setAnchor(true);
                inner.setAnchorHref(OdtXml::attribute(m_xml, OdtXml::xlink, u"href").toString());
            }
            readInline(inner, depth + 1);
        } else if (!readField(format, depth + 1)) {
            m_xml.skipCurrentElement();
        }
    }
}

// Spaces, tabs, line breaks, notes, page numbers and pictures; other fields of the text
// namespace show their result.
bool OdtBodyReader::readField(const QTextCharFormat& format, int depth)
{
    if (is(m_xml, text, u"s")) {
        const int spaces = count(OdtXml::attribute(m_xml, text, u"c"), s_maxSpaces);
        m_xml.skipCurrentElement();
        insertLiteral(QString(spaces, u' '), format);
    } else if (is(m_xml, text, u"tab") || is(m_xml, text, u"line-break")) {
        const QChar character = m_xml.name() == u"tab" ? QChar(u'\t') : QChar::LineSeparator;
        m_xml.skipCurrentElement();
        insertLiteral(QString(character), format);
    } else if (is(m_xml, text, u"note")) {
        readNote(format, depth);
    } else if (is(m_xml, text, u"page-number")) {
        QTextCharFormat number = format;
        number.setProperty(PageFurniture::PageNumber, true);
        const QString shown = m_xml.readElementText(XmlReader::IncludeChildElements);
        insertLiteral(shown.isEmpty() ? QStringLiteral("1") : shown, number);
    } else if (is(m_xml, draw, u"frame")) {
        readFrame(format);
    } else if (m_xml.namespaceUri() == text && m_xml.name() != u"note-citation") {
        readInline(format, depth);
    } else {
        return false;
    }
    return true;
}

void OdtBodyReader::readNote(const QTextCharFormat& format, int depth)
{
    const bool endnote = OdtXml::attribute(m_xml, text, u"note-class") == u"endnote";
    // A note inside a note, or in a header, has nowhere to go: its mark alone stays.
    const bool placed = m_target == &m_body && m_note == 0;
    const int note = placed ? ++m_lastNote : 0;
    bool marked = !placed;
    // A citation with a label of the writer's own shows it rather than a number.
    const auto insertMark = [&](const QString& label) {
        if (std::exchange(marked, true))
            return;
        QTextCharFormat mark = format;
        mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        mark.setProperty(PageFurniture::NoteMark, note);
        if (!label.isEmpty())
            mark.setProperty(PageFurniture::CustomMark, true);
        insertLiteral(label.isEmpty() ? QString::number(note) : label, mark);
    };
    while (m_xml.readNextStartElement()) {
        if (is(m_xml, text, u"note-citation")) {
            const QString label = OdtXml::attribute(m_xml, text, u"label").toString();
            m_xml.skipCurrentElement();
            insertMark(label);
        } else if (placed && is(m_xml, text, u"note-body")) {
            insertMark({});
            readNoteBody(note, endnote, depth + 1);
        } else {
            m_xml.skipCurrentElement();
        }
    }
    insertMark({});
}

void OdtBodyReader::readNoteBody(int note, bool endnote, int depth)
{
    // The mark before it goes in first.
    flush();
    m_steps.post([&builder = m_builder] { builder.openNotes(tr("Notes")); });
    m_target = &m_notes;
    const int listLevel = std::exchange(m_listLevel, 0);
    const QString listStyle = std::exchange(m_listStyle, QString());
    m_note = note;
    m_endnote = endnote;
    m_noteMarkPending = true;
    readBlocks(depth);
    m_note = 0;
    m_noteMarkPending = false;
    m_listLevel = listLevel;
    m_listStyle = listStyle;
    m_target = &m_body;
    m_steps.post([&builder = m_builder] { builder.closeNotes(); });
}

void OdtBodyReader::readFrame(const QTextCharFormat& format)
{
    const auto width = OdtXml::twips(OdtXml::attribute(m_xml, OdtXml::svg, u"width"));
    const auto height = OdtXml::twips(OdtXml::attribute(m_xml, OdtXml::svg, u"height"));
    while (m_xml.readNextStartElement()) {
        const QString href = is(m_xml, draw, u"image")
                                 ? OdtXml::attribute(m_xml, OdtXml::xlink, u"href").toString()
                                 : QString();
        m_xml.skipCurrentElement();
        if (href.isEmpty() || !m_package.contains(href))
            continue;
        const QByteArray data = m_package.read(href);
        if (!m_package.isOpen()) {
            m_xml.raiseError(m_package.errorString());
            return;
        }
        // Named by content, so a picture pasted into another document never takes another's.
        QTextImageFormat image;
        image.merge(format);
        image.setName(
            QStringLiteral("odtimage:") +
            QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()));
        if (width && *width > 0)
            image.setWidth(Twips::toPixels(*width));
        if (height && *height > 0)
            image.setHeight(Twips::toPixels(*height));
        flush();
        m_steps.post([&builder = m_builder, data, image] { builder.insertImage(data, image); });
        m_target->afterSpace = m_target->collapsedSpace = false;
    }
}

void OdtBodyReader::startParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars)
{
    Target& target = *m_target;
    BuildSteps::settle(chars);
    m_steps.post([&builder = m_builder, block, chars] { builder.startParagraph(block, chars); });
    target.afterSpace = true;
    target.collapsedSpace = false;
}

void OdtBodyReader::endParagraph()
{
    Target& target = *m_target;
    // White space at a paragraph's end is not shown; it is the last character read.
    if (std::exchange(target.collapsedSpace, false)) {
        if (!target.pending.isEmpty())
            target.pending.chop(1);
        else
            m_steps.post([&builder = m_builder] { builder.deletePreviousCharacter(); });
    }
    flush();
}

void OdtBodyReader::joinList(int level, QStringView paragraphStyle)
{
    // A list may leave its style to its paragraphs' style.
    const std::optional<QTextListFormat> format = m_styles.listLevel(
        m_listStyle.isEmpty() ? m_styles.listStyleOf(paragraphStyle) : m_listStyle, level);
    if (!format)
        return;
    QTextListFormat own = *format;
    own.setProperty(TextProperties::ListId, m_listId);
    BuildSteps::settle(own);
    m_steps.post([&builder = m_builder, level, own] { builder.joinList(level, own); });
}

void OdtBodyReader::readList(int depth, QString listStyle, int level)
{
    if (!enter(depth))
        return;
    if (const QStringView own = OdtXml::attribute(m_xml, text, u"style-name"); !own.isEmpty())
        listStyle = own.toString();
    const bool continues = OdtXml::attribute(m_xml, text, u"continue-numbering") == u"true" ||
                           !OdtXml::attribute(m_xml, text, u"continue-list").isEmpty();
    if (!continues) {
        m_steps.post([&builder = m_builder, level] { builder.endListsFrom(level); });
        if (level == 1)
            ++m_listId;
    }
    const QString outerStyle = std::exchange(m_listStyle, listStyle);
    const int outerLevel = m_listLevel;
    while (m_xml.readNextStartElement()) {
        const bool item = is(m_xml, text, u"list-item");
        if (!item && !is(m_xml, text, u"list-header")) {
            m_xml.skipCurrentElement();
            continue;
        }
        m_listLevel = item ? level : 0;
        readBlocks(depth + 1);
        m_listLevel = level;
    }
    m_listLevel = outerLevel;
    m_listStyle = outerStyle;
}

// ODF collapses each run of white space to one space, and drops it after a space already
// shown; most text needs none of that and goes in as it is.
void OdtBodyReader::insertText(QStringView raw, const QTextCharFormat& format)
{
    Target& target = *m_target;
    bool afterSpace = target.afterSpace;
    QString shown;
    qsizetype kept = 0;
    for (qsizetype at = 0; at < raw.size(); ++at) {
        const QChar c = raw[at];
        // All white space comes before the ordinary characters.
        if (c > u' ' || (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')) {
            afterSpace = false;
            continue;
        }
        if (c == u' ' && !afterSpace) {
            afterSpace = true;
            continue;
        }
        shown.append(raw.sliced(kept, at - kept));
        if (!afterSpace)
            shown.append(u' ');
        afterSpace = true;
        kept = at + 1;
    }
    if (kept > 0)
        shown.append(raw.sliced(kept));
    target.afterSpace = afterSpace;
    if (raw.size() > 0)
        target.collapsedSpace = afterSpace;
    queue(kept > 0 ? QStringView(shown) : raw, format);
}

void OdtBodyReader::insertLiteral(const QString& literal, const QTextCharFormat& format)
{
    queue(literal, format);
    m_target->afterSpace = m_target->collapsedSpace = false;
}

void OdtBodyReader::queue(QStringView text, const QTextCharFormat& format)
{
    if (text.isEmpty())
        return;
    Target& target = *m_target;
    if (!target.pending.isEmpty() && format != target.pendingFormat)
        flush();
    if (target.pending.isEmpty())
        target.pendingFormat = format;
    target.pending += text;
}

void OdtBodyReader::flush()
{
    Target& target = *m_target;
    if (target.pending.isEmpty())
        return;
    m_steps.insertText(m_builder.cursor(target.notes), target.pending, target.pendingFormat);
    // Kept, not freed, for the next paragraph's text.
    target.pending.truncate(0);
}

void OdtBodyReader::readTable(int depth)
{
    if (!enter(depth))
        return;
    TableBuild build;
    build.style = m_styles.style(u"table", OdtXml::attribute(m_xml, OdtXml::table, u"style-name"));
    const int listLevel = std::exchange(m_listLevel, 0);
    m_steps.post([&builder = m_builder] { builder.prepareTable(); });
    readTableParts(build, depth + 1);
    m_listLevel = listLevel;
    if (build.columns > 0)
        finishTable(build);
}

void OdtBodyReader::readTableParts(TableBuild& build, int depth)
{
    if (!enter(depth))
        return;
    using OdtXml::table;
    while (m_xml.readNextStartElement()) {
        if (is(m_xml, table, u"table-column")) {
            const int repeat = count(OdtXml::attribute(m_xml, table, u"number-columns-repeated"),
                                     ReadingBounds::tableColumns);
            const OdtStyleSheet::Style* style =
                m_styles.style(u"table-column", OdtXml::attribute(m_xml, table, u"style-name"));
            for (int column = 0;
                 column < repeat && build.widths.size() < ReadingBounds::tableColumns; ++column)
                build.widths.push_back(style ? style->width : 0);
            m_xml.skipCurrentElement();
        } else if (is(m_xml, table, u"table-row")) {
            readRow(build, depth + 1);
        } else if (m_xml.namespaceUri() == table &&
                   (m_xml.name().endsWith(u"rows") || m_xml.name().endsWith(u"columns") ||
                    m_xml.name().endsWith(u"group"))) {
            readTableParts(build, depth + 1);
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

void OdtBodyReader::readRow(TableBuild& build, int depth)
{
    using OdtXml::table;
    if (build.columns > 0 && build.row + 1 >= ReadingBounds::tableRows) {
        finishTable(build);
        build.columns = 0;
        build.row = -1;
        build.merges.clear();
    }
    if (build.columns == 0) {
        build.columns = std::max<int>(1, int(build.widths.size()));
        m_steps.post(
            [&builder = m_builder, columns = build.columns] { builder.createTable(columns); });
    } else {
        m_steps.post([&builder = m_builder] { builder.appendRow(); });
    }
    ++build.row;
    int column = 0;
    while (m_xml.readNextStartElement()) {
        const bool covered = is(m_xml, table, u"covered-table-cell");
        if (!covered && !is(m_xml, table, u"table-cell")) {
            m_xml.skipCurrentElement();
            continue;
        }
        if (column >= build.columns && column < ReadingBounds::tableColumns) {
            ++build.columns;
            m_steps.post([&builder = m_builder] { builder.appendColumn(); });
        }
        const int at = std::min(column, build.columns - 1);
        ++column;
        if (covered) {
            m_xml.skipCurrentElement();
            continue;
        }
        const int columns = count(OdtXml::attribute(m_xml, table, u"number-columns-spanned"),
                                  ReadingBounds::tableColumns);
        const int rows = count(OdtXml::attribute(m_xml, table, u"number-rows-spanned"), 1 << 16);
        if (columns > 1 || rows > 1)
            build.merges.push_back({build.row, at, rows, columns});
        readCell(build, at, depth);
    }
}

void OdtBodyReader::readCell(TableBuild& build, int column, int depth)
{
    const OdtStyleSheet::Style* style =
        m_styles.style(u"table-cell", OdtXml::attribute(m_xml, OdtXml::table, u"style-name"));
    if (style && !build.border)
        build.border = style->border;
    if (style && !build.padding)
        build.padding = style->padding;
    Target& target = *m_target;
    const Target outside = target;
    m_steps.post(
        [&builder = m_builder, row = build.row, column] { builder.enterCell(row, column); });
    readBlocks(depth);
    m_steps.post([&builder = m_builder] { builder.leaveCell(); });
    target = outside;
}

void OdtBodyReader::finishTable(TableBuild& build)
{
    // What changes in the table's format; Qt's own cell spacing is not one of them.
    QTextTableFormat format;
    format.clearProperty(QTextFormat::TableCellSpacing);
    const double border = build.border.value_or(0);
    format.setBorder(border > 0 ? std::max(Twips::toPixels(border), 1.0) : 0);
    if (border > 0 && Twips::toPixels(border) < 1)
        format.setProperty(TextProperties::TableBorderTwips, qRound(border));
    format.setBorderStyle(border > 0 ? QTextFrameFormat::BorderStyle_Solid
                                     : QTextFrameFormat::BorderStyle_None);
    if (build.padding)
        format.setCellPadding(Twips::toPixels(*build.padding));
    if (build.style) {
        format.setLeftMargin(build.style->block.leftMargin());
        if (build.style->block.pageBreakPolicy() != QTextFormat::PageBreak_Auto)
            format.setPageBreakPolicy(build.style->block.pageBreakPolicy());
    }
    if (int(build.widths.size()) == build.columns &&
        std::all_of(build.widths.begin(), build.widths.end(), [](double w) { return w > 0; })) {
        QList<QTextLength> widths;
        for (const double width : build.widths)
            widths.append(QTextLength(QTextLength::FixedLength, Twips::toPixels(width)));
        format.setColumnWidthConstraints(widths);
    }
    m_steps.post([&builder = m_builder, merges = build.merges, format] {
        builder.finishTable(merges, format);
    });
    m_target->afterSpace = true;
    m_target->collapsedSpace = false;
}
