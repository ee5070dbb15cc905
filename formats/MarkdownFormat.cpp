#include "formats/MarkdownFormat.h"

#include "formats/BlankDocument.h"
#include "formats/DocumentFeatures.h"
#include "formats/PlainTextFormat.h"

#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <array>
#include <memory>
#include <vector>

namespace {

// The first plane's private-use area, where the marks are taken from.
constexpr char16_t s_privateUse = 0xe000;
constexpr char16_t s_privateUses = 0x1900;

QList<QTextTable*> tablesIn(QTextFrame* frame)
{
    QList<QTextTable*> tables;
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.append(table);
        tables += tablesIn(child);
    }
    return tables;
}

bool isInTable(const QTextFrame* frame)
{
    for (frame = frame->parentFrame(); frame; frame = frame->parentFrame())
        if (qobject_cast<const QTextTable*>(frame))
            return true;
    return false;
}

// A list starts right after another at its level or deeper, as if going on with it.
bool startsListAfterList(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    const QTextList* before = block.previous().textList();
    return list && before && list != before && list->itemNumber(block) == 0 &&
           list->format().indent() <= before->format().indent();
}

/// Shapes a copy of a document so that Qt's writer writes nothing Markdown readers misread:
/// marks go where its tables, line breaks and lists need other markup, which replaces them in
/// what it writes. The marks are private-use characters the document does not hold; Qt's
/// writer drops noncharacters.
class MarkdownShape
{
public:
    /// Whether document has what Qt's writer writes amiss; copying a long one takes a while.
    static bool isNeeded(const QTextDocument& document);
    explicit MarkdownShape(QTextDocument& document);
    QString markdown();

private:
    void flattenInnerTable(QTextTable* table);
    void joinCell(const QTextTableCell& cell);
    void shapeTables();
    void markLineBreaks();
    void keepListsApart();
    QString withRules(const QString& markdown) const;

    QTextDocument& m_document;
    /// The column counts of the tables of one row, which Qt writes without their rule.
    QSet<int> m_oneRowTables;
    QChar m_cellBreak, m_listsApart, m_lineBreak;
};

bool MarkdownShape::isNeeded(const QTextDocument& document)
{
    if (!document.rootFrame()->childFrames().isEmpty() ||
        document.toRawText().contains(QChar::LineSeparator))
        return true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (startsListAfterList(block))
            return true;
    return false;
}

MarkdownShape::MarkdownShape(QTextDocument& document) : m_document(document)
{
    const QString text = document.toRawText();
    std::vector<bool> used(s_privateUses);
    for (const QChar c : text)
        if (c.unicode() >= s_privateUse && c.unicode() < s_privateUse + s_privateUses)
            used[c.unicode() - s_privateUse] = true;
    std::array<QChar*, 3> marks = {&m_cellBreak, &m_listsApart, &m_lineBreak};
    auto mark = marks.begin();
    for (char16_t c = 0; c < s_privateUses && mark != marks.end(); ++c)
        if (!used[c])
            **mark++ = QChar(char16_t(s_privateUse + c));
    shapeTables();
    markLineBreaks();
    keepListsApart();
}

// A table in a cell becomes its cells' text, one after another, in the cell that held it.
void MarkdownShape::flattenInnerTable(QTextTable* table)
{
    QStringList cells;
    for (int row = 0; row < table->rows(); ++row)
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            if (cell.row() == row && cell.column() == column && cursor.hasSelection())
                cells.append(cursor.selectedText().simplified());
        }
    QTextCursor cursor(&m_document);
    cursor.setPosition(table->firstPosition() - 1);
    cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.insertText(cells.join(m_cellBreak));
}

// A pipe table's cell is one line: its paragraphs are joined by marks.
void MarkdownShape::joinCell(const QTextTableCell& cell)
{
    QTextCursor cursor(cell.firstCursorPosition());
    for (;;) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        if (cursor.position() >= cell.lastPosition())
            return;
        const bool empty = cursor.block().length() == 1;
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        cursor.insertText(empty ? QString() : QString(m_cellBreak));
    }
}

void MarkdownShape::shapeTables()
{
    const QList<QTextTable*> tables = tablesIn(m_document.rootFrame());
    // Inner tables first, so that an outer one takes in their text.
    for (auto table = tables.rbegin(); table != tables.rend(); ++table)
        if (isInTable(*table))
            flattenInnerTable(*table);
    for (QTextTable* table : tablesIn(m_document.rootFrame())) {
        if (table->rows() == 1)
            m_oneRowTables.insert(table->columns());
        for (int row = 0; row < table->rows(); ++row)
            for (int column = 0; column < table->columns(); ++column)
                joinCell(table->cellAt(row, column));
    }
}

// Qt writes a line break as a line end, which Markdown reads as a space.
void MarkdownShape::markLineBreaks()
{
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (qsizetype at = text.indexOf(QChar::LineSeparator); at >= 0;
             at = text.indexOf(QChar::LineSeparator, at + 1)) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + int(at));
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            cursor.insertText(cursor.currentTable() ? m_cellBreak : m_lineBreak);
        }
    }
}

// Two lists one after the other are one list to a Markdown reader unless something comes
// between them.
void MarkdownShape::keepListsApart()
{
    QList<int> ends;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        if (startsListAfterList(block) && !QTextCursor(block).currentTable())
            ends.prepend(block.position() - 1);
    for (const int end : std::as_const(ends)) {
        QTextCursor cursor(&m_document);
        cursor.setPosition(end);
        cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(m_listsApart);
    }
}

// A table row on its own is a table of one row: without a rule after it, it is text.
QString MarkdownShape::withRules(const QString& markdown) const
{
    if (m_oneRowTables.isEmpty())
        return markdown;
    QStringList lines = markdown.split(u'\n');
    const auto isRow = [&lines](qsizetype line) {
        return line >= 0 && line < lines.size() && lines[line].startsWith(u'|');
    };
    for (qsizetype line = lines.size() - 1; line >= 0; --line) {
        const qsizetype columns = lines[line].count(u'|') - 1;
        if (isRow(line) && !isRow(line - 1) && !isRow(line + 1) &&
            m_oneRowTables.contains(int(columns)))
            lines.insert(line + 1, u'|' + QStringLiteral("---|").repeated(columns));
    }
    return lines.join(u'\n');
}

QString MarkdownShape::markdown()
{
    QString markdown = withRules(m_document.toMarkdown(QTextDocument::MarkdownDialectGitHub));
    const QString cellBreak = QRegularExpression::escape(m_cellBreak);
    markdown.replace(
        QRegularExpression(cellBreak + uR"(+(?=\s*\|)|(?<=\|)(\s*))"_qs + cellBreak + u'+'),
        QStringLiteral("\\1"));
    // The space keeps words apart for readers that drop the HTML.
    markdown.replace(QRegularExpression(cellBreak + u'+'), QStringLiteral(" <br/>"));
    markdown.replace(QRegularExpression(uR"(^[ \t]*)"_qs +
                                            QRegularExpression::escape(m_listsApart) +
                                            uR"([ \t]*$)"_qs,
                                        QRegularExpression::MultilineOption),
                     QStringLiteral("<!-- -->"));
    return markdown.replace(m_lineBreak, QStringLiteral("\\\n"));
}

// Qt's reader takes everything after an unclosed "<br>" for HTML and drops it: the break is
// given its closing slash, outside code.
QString closeLineBreaks(const QString& markdown)
{
    static const QRegularExpression fence(QStringLiteral(R"(^ {0,3}(```|~~~))"));
    static const QRegularExpression lineBreak(QStringLiteral(R"(<br\s*>)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList lines = markdown.split(u'\n');
    bool inCode = false;
    for (QString& line : lines) {
        if (fence.match(line).hasMatch())
            inCode = !inCode;
        if (inCode || !line.contains(lineBreak))
            continue;
        // Between backticks is code.
        QStringList spans = line.split(u'`');
        for (qsizetype span = 0; span < spans.size(); span += 2)
            spans[span].replace(lineBreak, QStringLiteral("<br/>"));
        line = spans.join(u'`');
    }
    return lines.join(u'\n');
}

} // namespace

bool MarkdownFormat::recognises(QByteArrayView data)
{
    return PlainTextFormat::recognises(data);
}

DocumentFormats::Read MarkdownFormat::read(const QByteArray& data, const Progress& progress)
{
    DocumentFormats::Read read;
    const std::optional<QString> markdown = PlainTextFormat::text(data);
    if (!markdown) {
        read.error = PlainTextFormat::notText();
        return read;
    }
    read.document.reset(BlankDocument::create());
    read.document->setMarkdown(closeLineBreaks(*markdown), QTextDocument::MarkdownDialectGitHub);
    if (progress)
        progress(1, 1);
    return read;
}

QByteArray MarkdownFormat::write(QTextDocument& document, const Progress& progress)
{
    QString markdown;
    if (MarkdownShape::isNeeded(document)) {
        const std::unique_ptr<QTextDocument> copy(document.clone());
        markdown = MarkdownShape(*copy).markdown();
    } else {
        markdown = document.toMarkdown(QTextDocument::MarkdownDialectGitHub);
    }
    // Qt writes a table's rule as "|-|-|", which its own reader, as others, takes for text.
    static const QRegularExpression rule(QStringLiteral(R"(^\|[-:|]*-[-:|]*\|$)"));
    static const QRegularExpression dash(QStringLiteral("(?<!-)-(?!-)"));
    QStringList lines = markdown.split(u'\n');
    for (QString& line : lines)
        if (rule.match(line).hasMatch())
            line.replace(dash, QStringLiteral("---"));
    markdown = lines.join(u'\n');
    if (progress)
        progress(1, 1);
    return markdown.toUtf8();
}

QStringList MarkdownFormat::losses(const QTextDocument& document)
{
    using Feature = DocumentFeatures::Feature;
    const DocumentFeatures::Features kept =
        Feature::Emphasis | Feature::Links | Feature::Lists | Feature::Tables;
    return DocumentFeatures::names(DocumentFeatures::of(document) & ~kept);
}
