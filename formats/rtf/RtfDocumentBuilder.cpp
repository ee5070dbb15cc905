#include "formats/rtf/RtfDocumentBuilder.h"

#include "formats/base/ReadingBounds.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/rtf/RtfCharacterPolicy.h"
#include "formats/rtf/RtfDocumentWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

#include <utility>

namespace {

Qt::Alignment alignmentFor(RtfParagraphState::Alignment alignment)
{
    switch (alignment) {
    case RtfParagraphState::Alignment::Center:
        return Qt::AlignHCenter;
    case RtfParagraphState::Alignment::Right:
        return Qt::AlignRight;
    case RtfParagraphState::Alignment::Justify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

// RTF measures tab stops from the left margin, Qt from where the paragraph's first line starts.
void setTabStops(QTextBlockFormat& format, const RtfParagraphState& paragraph)
{
    const int lineStart = paragraph.leftIndent + paragraph.firstIndent;
    QList<QTextOption::Tab> tabs;
    QString leaders;
    for (const RtfParagraphState::TabStop& stop : paragraph.tabs) {
        tabs.append(
            QTextOption::Tab(Twips::toPixels(stop.position - lineStart), stop.type,
                             stop.type == QTextOption::DelimiterTab ? QChar(u'.') : QChar()));
        leaders.append(QChar(stop.leader));
    }
    format.setTabPositions(tabs);
    if (leaders.trimmed().size() > 0)
        format.setProperty(TextProperties::TabLeaders, leaders);
}

void setLineSpacing(QTextBlockFormat& format, const RtfParagraphState& paragraph)
{
    const int spacing = paragraph.lineSpacing;
    if (spacing < 0)
        format.setLineHeight(Twips::toPixels(-spacing), QTextBlockFormat::FixedHeight);
    else if (paragraph.lineMultiple)
        format.setLineHeight(spacing * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else
        format.setLineHeight(Twips::toPixels(spacing), QTextBlockFormat::MinimumHeight);
}

// A numbered level keeps what stands around its number and where it starts.
QTextListFormat listFormat(const RtfListLevel& level)
{
    QTextListFormat format;
    format.setStyle(level.style);
    if (level.style == QTextListFormat::ListStyleUndefined)
        return format;
    format.setIndent(level.level + 1);
    if (level.list > 0)
        format.setProperty(TextProperties::ListId, level.list);
    if (RtfCharacterPolicy::isBullet(level.style))
        return format;
    // Set even when not given, so lists that show alike are alike and join.
    format.setNumberPrefix(level.prefix);
    format.setNumberSuffix(level.suffix.isNull() ? QStringLiteral(".") : level.suffix);
    if (level.start != 1)
        format.setProperty(TextProperties::ListStart, level.start);
    if (!level.levelText.isEmpty())
        format.setProperty(TextProperties::ListLevelText, level.levelText);
    return format;
}

// Only what differs from a plain paragraph is set, so plain paragraphs keep an empty format.
QTextBlockFormat blockFormat(const RtfParagraphState& paragraph)
{
    QTextBlockFormat format;
    if (paragraph.alignment != RtfParagraphState::Alignment::Left)
        format.setAlignment(alignmentFor(paragraph.alignment));
    // A list brings its own indent, so a list paragraph's indents are not doubled.
    const bool inList = paragraph.list.style != QTextListFormat::ListStyleUndefined;
    if (!inList && paragraph.leftIndent != 0)
        format.setLeftMargin(Twips::toPixels(paragraph.leftIndent));
    if (!inList && paragraph.rightIndent != 0)
        format.setRightMargin(Twips::toPixels(paragraph.rightIndent));
    if (!inList && paragraph.firstIndent != 0)
        format.setTextIndent(Twips::toPixels(paragraph.firstIndent));
    if (paragraph.spaceBefore != 0)
        format.setTopMargin(Twips::toPixels(paragraph.spaceBefore));
    if (paragraph.spaceAfter != 0)
        format.setBottomMargin(Twips::toPixels(paragraph.spaceAfter));
    if (paragraph.lineSpacing != 0)
        setLineSpacing(format, paragraph);
    if (paragraph.pageBreakBefore || paragraph.newPage)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!paragraph.tabs.isEmpty())
        setTabStops(format, paragraph);
    if (paragraph.note > 0)
        format.setProperty(PageFurniture::NoteBody, paragraph.note);
    if (paragraph.endnote)
        format.setProperty(PageFurniture::Endnote, true);
    return format;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument* document)
    : m_document(document), m_undoWasEnabled(document->isUndoRedoEnabled())
{
    // Loading replaces the document wholesale: recording undo steps for it would only cost time.
    m_document->setUndoRedoEnabled(false);
    m_document->clear();
    m_body.cursor = QTextCursor(m_document);
    m_body.cursor.beginEditBlock();
}

void RtfDocumentBuilder::apply(const RtfBuildChunk& chunk)
{
    using Kind = RtfBuildChunk::Command::Kind;
    for (const RtfBuildChunk::Command& command : chunk.commands) {
        switch (command.kind) {
        case Kind::Format:
            m_formats.append(chunk.formats[size_t(command.id)]);
            break;
        case Kind::Paragraph:
            m_blockFormat = blockFormat(chunk.paragraphs[size_t(command.id)]);
            m_list = listFormat(chunk.paragraphs[size_t(command.id)].list);
            m_inTable = chunk.paragraphs[size_t(command.id)].inTable;
            break;
        case Kind::Text:
            insertText(
                QStringView(chunk.text).sliced(qsizetype(command.start), qsizetype(command.length)),
                command.id);
            break;
        case Kind::Image:
            insertImage(chunk.images[size_t(command.id)]);
            break;
        case Kind::Hidden:
            insertHidden(
                QStringView(chunk.text).sliced(qsizetype(command.start), qsizetype(command.length)),
                command.id);
            break;
        case Kind::EndParagraph:
            endParagraph(command.id);
            break;
        case Kind::StartRow:
            startRow(chunk.rows[size_t(command.id)]);
            break;
        case Kind::EndCell:
            endCell(command.id);
            break;
        case Kind::EndRow:
            m_target->table.rowEnded = true;
            m_target->table.cellEnded = false;
            break;
        case Kind::StartNote:
            startNote(command.id);
            break;
        case Kind::StartStory:
            startStory(command.id);
            break;
        case Kind::EndNote:
            endNote(command.id);
            break;
        case Kind::Finish:
            finish(command.id, chunk.furniture, chunk.info);
            break;
        }
    }
}

void RtfDocumentBuilder::insertText(QStringView text, int formatId)
{
    // Qt copies the text, so the chunk's own buffer is lent rather than copied first.
    cursor().insertText(QString::fromRawData(text.data(), text.size()), m_formats.at(formatId));
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::insertImage(const RtfBuildChunk::Image& image)
{
    // Named by content, so a picture pasted into another document never takes another's name.
    const QString name =
        QStringLiteral("rtfimage:") +
        QString::fromLatin1(QCryptographicHash::hash(image.data, QCryptographicHash::Sha1).toHex());
    m_target->cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image.data);
    QTextImageFormat format;
    format.setName(name);
    if (image.width > 0)
        format.setWidth(image.width);
    if (image.height > 0)
        format.setHeight(image.height);
    cursor().insertImage(format);
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::insertHidden(QStringView text, int formatId)
{
    QTextCharFormat format = m_formats.at(formatId);
    format.setObjectType(TextProperties::HiddenTextObject);
    format.setProperty(TextProperties::HiddenText, text.toString());
    cursor().insertText(QString(QChar::ObjectReplacementCharacter), format);
    m_target->paragraphHasText = true;
}

void RtfDocumentBuilder::endParagraph(int markFormatId)
{
    closeParagraph(markFormatId);
    m_target->paragraphPending = true;
    m_target->paragraphHasText = false;
    ++m_target->paragraphs;
}

void RtfDocumentBuilder::startNote(int headingFormatId)
{
    if (const int note = ++m_notesStarted; !m_body.paragraphPending)
        tieCustomMark(note);
    // The body's cursor stays before the notes, also while the first note opens at its place.
    m_body.cursor.setKeepPositionOnInsert(true);
    if (m_notes.cursor.isNull()) {
        m_notes.cursor = QTextCursor(m_document);
        m_notes.cursor.movePosition(QTextCursor::End);
        const QTextCharFormat& heading = m_formats.at(headingFormatId);
        QTextBlockFormat headingFormat;
        headingFormat.setProperty(PageFurniture::NotesHeading, true);
        m_notes.cursor.insertBlock(headingFormat, heading);
        m_notes.cursor.insertText(QCoreApplication::translate("RtfReader", "Notes"), heading);
    }
    m_notes.blockFormat = QTextBlockFormat();
    m_notes.cursor.insertBlock(m_notes.blockFormat, QTextCharFormat());
    // A list that ended the last note goes on: side by side, the writer makes them one.
    m_notes.paragraphHasText = false;
    m_notes.paragraphs = 0;
    m_target = &m_notes;
}

// Word writes a mark of the writer's own, such as "*", as superscript text before its note.
void RtfDocumentBuilder::tieCustomMark(int note)
{
    // Word's own limit on such a mark's length.
    constexpr qsizetype longestMark = 10;
    const int end = m_body.cursor.position();
    const QTextBlock block = m_body.cursor.block();
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        if (fragment.position() + fragment.length() != end)
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.hasProperty(PageFurniture::NoteMark) ||
            format.verticalAlignment() != QTextCharFormat::AlignSuperScript)
            return;
        const QString text = fragment.text();
        qsizetype start = text.size();
        while (start > 0 && text.size() - start < longestMark && !text[start - 1].isSpace())
            --start;
        if (start == text.size())
            return;
        QTextCursor mark(m_document);
        mark.setPosition(fragment.position() + int(start));
        mark.setPosition(end, QTextCursor::KeepAnchor);
        QTextCharFormat custom;
        custom.setProperty(PageFurniture::NoteMark, note);
        custom.setProperty(PageFurniture::CustomMark, true);
        mark.mergeCharFormat(custom);
        return;
    }
}

void RtfDocumentBuilder::startStory(int story)
{
    // A story read twice, as some writers repeat them per section, keeps the last.
    std::unique_ptr<QTextDocument>& document = m_stories[size_t(story)];
    document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_document->defaultFont());
    m_story = Target();
    m_story.cursor = QTextCursor(document.get());
    m_target = &m_story;
}

void RtfDocumentBuilder::endNote(int markFormatId)
{
    // Writers end a note's last paragraph with \par as they would in the body.
    if (!m_target->paragraphHasText && m_target->paragraphs > 0)
        m_target->paragraphPending = false;
    else
        closeParagraph(markFormatId);
    m_target = &m_body;
    // Only the position stays put: the anchor moved on with the notes.
    m_body.cursor.setKeepPositionOnInsert(false);
    m_body.cursor.clearSelection();
}

void RtfDocumentBuilder::finish(int markFormatId, PageFurniture furniture, const DocumentInfo& info)
{
    closeParagraph(markFormatId);
    if (m_body.table.table)
        closeTable();
    keepFurniture(furniture);
    if (!m_notes.cursor.isNull())
        furniture.numberNotes(*m_document);
    info.keepIn(*m_document);
    m_body.cursor.endEditBlock();
    m_document->setUndoRedoEnabled(m_undoWasEnabled);
}

void RtfDocumentBuilder::keepFurniture(PageFurniture& furniture)
{
    for (size_t story = 0; story < m_stories.size(); ++story)
        if (m_stories[story])
            furniture.stories[story] = RtfDocumentWriter(*m_stories[story]).write();
    furniture.keepIn(*m_document);
}

QTextCursor& RtfDocumentBuilder::cursor(const QTextCharFormat& markFormat)
{
    followTable();
    if (std::exchange(m_target->paragraphPending, false)) {
        m_target->blockFormat = m_blockFormat;
        m_target->cursor.insertBlock(m_target->blockFormat, markFormat);
    }
    return m_target->cursor;
}

void RtfDocumentBuilder::followTable()
{
    const Table& table = m_target->table;
    if (table.table && !m_inTable)
        closeTable();
    else if (m_inTable && (!table.table || table.rowEnded))
        startRow(RtfTableRow());
    else if (m_inTable && table.cellEnded)
        enterNextCell();
}

void RtfDocumentBuilder::closeParagraph(int markFormatId)
{
    // The paragraph may be the first after a table, or a cell's: the mark goes on its block.
    followTable();
    // An empty paragraph keeps its formatting on the paragraph mark, e.g. a blank line in 20 pt.
    if (!m_target->paragraphHasText && !m_target->paragraphPending)
        markEmptyParagraph(m_formats.at(markFormatId));
    QTextCursor& cursor =
        this->cursor(m_target->paragraphHasText ? QTextCharFormat() : m_formats.at(markFormatId));
    if (m_blockFormat != m_target->blockFormat)
        cursor.setBlockFormat(m_blockFormat);
    joinList();
}

void RtfDocumentBuilder::markEmptyParagraph(QTextCharFormat mark)
{
    QTextCursor& cursor = m_target->cursor;
    // Qt keeps a cell's own format on its first paragraph's mark: the cell's spans must stay, or
    // the table's grid no longer matches its cells.
    const QTextTable* table = m_target->table.table;
    if (table && table->cellAt(cursor).firstPosition() == cursor.block().position()) {
        const QTextCharFormat cell = cursor.blockCharFormat();
        for (const int span : {QTextFormat::TableCellRowSpan, QTextFormat::TableCellColumnSpan})
            if (cell.hasProperty(span))
                mark.setProperty(span, cell.property(span));
    }
    cursor.setBlockCharFormat(mark);
}

void RtfDocumentBuilder::joinList()
{
    QList<QTextList*>& lists = m_target->lists;
    const QTextListFormat::Style style = m_list.style();
    if (style == QTextListFormat::ListStyleUndefined) {
        lists.clear();
        return;
    }
    // An item ends the lists of the levels below its own, whose numbers start again under it,
    // and goes on with its own level's list.
    const int level = m_list.indent();
    lists.removeIf([level](const QTextList* list) { return list->format().indent() > level; });
    QTextList* list =
        !lists.isEmpty() && lists.last()->format().indent() == level ? lists.last() : nullptr;
    const int maxLength = RtfCharacterPolicy::isBullet(style) ? ReadingBounds::listLength
                                                              : ReadingBounds::numberedListLength;
    if (list && list->format() == m_list && list->count() < maxLength) {
        list->add(cursor().block());
        return;
    }
    if (list)
        lists.removeLast();
    lists.append(cursor().createList(m_list));
}

void RtfDocumentBuilder::startRow(const RtfTableRow& row)
{
    Table& table = m_target->table;
    if (table.table && table.row + 1 >= ReadingBounds::tableRows)
        closeTable();
    if (!table.table) {
        createTable(row);
    } else {
        table.table->appendRows(1);
        ++table.row;
    }
    placeCells(row);
    mergeCells(row);
    table.cell = 0;
    table.cellEnded = false;
    table.rowEnded = false;
    moveToCell(table.cellColumns.empty() ? 0 : table.cellColumns.front());
}

void RtfDocumentBuilder::createTable(const RtfTableRow& row)
{
    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    const qreal border = Twips::toPixels(row.borderWidth);
    format.setBorder(row.borderWidth > 0 ? std::max<qreal>(border, 1) : 0);
    if (row.borderWidth > 0 && border < 1)
        format.setProperty(TextProperties::TableBorderTwips, row.borderWidth);
    format.setBorderStyle(row.borderWidth > 0 ? QTextFrameFormat::BorderStyle_Solid
                                              : QTextFrameFormat::BorderStyle_None);
    format.setCellPadding(Twips::toPixels(row.gap));
    if (row.left > 0)
        format.setLeftMargin(Twips::toPixels(row.left));
    Table& table = m_target->table;
    table.table = m_target->cursor.insertTable(1, std::max<int>(1, int(row.cells.size())), format);
    table.left = row.left;
    table.row = 0;
    table.edges.clear();
    m_target->lists.clear();
}

void RtfDocumentBuilder::placeCells(const RtfTableRow& row)
{
    Table& table = m_target->table;
    table.cellColumns.clear();
    if (row.cells.empty())
        return;
    const bool first = table.edges.empty();
    int previous = row.left;
    for (const RtfTableRow::Cell& cell : row.cells) {
        // Edges that do not move right would make cells of no width.
        const int right = std::max(cell.right, previous + 1);
        const auto at = std::lower_bound(table.edges.begin(), table.edges.end(), right);
        if ((at == table.edges.end() || *at != right) &&
            table.edges.size() < size_t(ReadingBounds::tableColumns)) {
            const int column = int(at - table.edges.begin());
            // A new edge splits a column: the cells of the rows above keep its whole width.
            if (!first && column < table.table->columns()) {
                table.table->insertColumns(column + 1, 1);
                for (int above = 0; above < table.row; ++above) {
                    const QTextTableCell split = table.table->cellAt(above, column);
                    if (split.row() == above && split.column() + split.columnSpan() == column + 1)
                        merge(above, split.column(), split.rowSpan(), split.columnSpan() + 1);
                }
            }
            table.edges.insert(at, right);
        }
        previous = right;
    }
    if (int(table.edges.size()) > table.table->columns())
        table.table->appendColumns(int(table.edges.size()) - table.table->columns());
    // Each cell starts where the edges left of it end; the last entry is where the row ends.
    const int columns = table.table->columns();
    const auto columnAfter = [&](int edge) {
        return int(std::upper_bound(table.edges.begin(), table.edges.end(), edge) -
                   table.edges.begin());
    };
    previous = row.left;
    for (const RtfTableRow::Cell& cell : row.cells) {
        table.cellColumns.push_back(std::min(columnAfter(previous), columns - 1));
        previous = std::max(cell.right, previous + 1);
    }
    table.cellColumns.push_back(std::min(columnAfter(previous), columns));
}

void RtfDocumentBuilder::mergeCells(const RtfTableRow& row)
{
    Table& table = m_target->table;
    const size_t cells = table.cellColumns.empty() ? 0 : table.cellColumns.size() - 1;
    for (size_t index = 0; index < cells; ++index) {
        const int column = table.cellColumns[index];
        if (row.cells[index].merge & RtfTableRow::MergedLeft)
            continue;
        size_t last = index;
        while (last + 1 < cells && row.cells[last + 1].merge & RtfTableRow::MergedLeft)
            ++last;
        const int span = std::max(1, table.cellColumns[last + 1] - column);
        const QTextTableCell above =
            table.row > 0 ? table.table->cellAt(table.row - 1, column) : QTextTableCell();
        if (row.cells[index].merge & RtfTableRow::MergedUp && above.isValid() &&
            above.column() == column && above.columnSpan() == span)
            merge(above.row(), column, table.row - above.row() + 1, span);
        else if (span > 1)
            merge(table.row, column, 1, span);
    }
}

void RtfDocumentBuilder::merge(int row, int column, int rows, int columns)
{
    QTextTable& table = *m_target->table.table;
    const QTextTableCell before = table.cellAt(row, column);
    const int joined = rows * columns - before.rowSpan() * before.columnSpan();
    table.mergeCells(row, column, rows, columns);
    // Each cell joined brings its empty paragraph along; they go again.
    const QTextTableCell merged = table.cellAt(row, column);
    for (int left = joined; left > 0; --left) {
        QTextCursor last = merged.lastCursorPosition();
        if (last.block().length() > 1 || last.position() <= merged.firstPosition())
            break;
        last.deletePreviousChar();
    }
}

void RtfDocumentBuilder::endCell(int markFormatId)
{
    followTable();
    const Table& table = m_target->table;
    // A merged-away cell holds nothing of its own; what text it has joins the merged cell. A
    // paragraph end just before the cell's end ends its last paragraph, as writers mean it.
    if ((!table.covered || m_target->paragraphHasText) && !m_target->paragraphPending)
        closeParagraph(markFormatId);
    m_target->table.cellEnded = true;
}

void RtfDocumentBuilder::enterNextCell()
{
    Table& table = m_target->table;
    table.cellEnded = false;
    ++table.cell;
    int column = 0;
    if (size_t(table.cell) + 1 < table.cellColumns.size()) {
        column = table.cellColumns[size_t(table.cell)];
    } else {
        // Cells past the row's definition each take the next column.
        const QTextTableCell current = table.table->cellAt(table.row, table.column);
        column = current.column() + current.columnSpan();
        if (column >= ReadingBounds::tableColumns)
            column = table.table->columns() - 1;
        else if (column >= table.table->columns())
            table.table->appendColumns(1);
    }
    moveToCell(column);
}

void RtfDocumentBuilder::moveToCell(int column)
{
    Table& table = m_target->table;
    const QTextTableCell cell = table.table->cellAt(table.row, column);
    // A cell merged away, or one past the last column, adds to the cell that holds it.
    table.covered = cell.row() != table.row || cell.column() != column ||
                    (table.cell > 0 && column == table.column);
    table.column = column;
    m_target->cursor = table.covered ? cell.lastCursorPosition() : cell.firstCursorPosition();
    m_target->paragraphPending = table.covered;
    m_target->paragraphHasText = false;
    m_target->blockFormat = m_target->cursor.blockFormat();
    m_target->lists.clear();
}

void RtfDocumentBuilder::closeTable()
{
    Table& table = m_target->table;
    if (int(table.edges.size()) == table.table->columns()) {
        QList<QTextLength> widths;
        int left = table.left;
        for (const int right : table.edges) {
            widths.append(QTextLength(QTextLength::FixedLength, Twips::toPixels(right - left)));
            left = right;
        }
        QTextTableFormat format = table.table->format();
        format.setColumnWidthConstraints(widths);
        table.table->setFormat(format);
    }
    m_target->cursor = table.table->lastCursorPosition();
    m_target->cursor.movePosition(QTextCursor::NextBlock);
    m_target->paragraphPending = false;
    m_target->paragraphHasText = false;
    m_target->blockFormat = m_target->cursor.blockFormat();
    m_target->lists.clear();
    table = Table();
}
