#include "tools/rtf/DocumentJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

/// One run's formatting as the JSON shows it.
struct RunFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString color;
    QString font;
    double size = 0;

    friend bool operator==(const RunFormat&, const RunFormat&) = default;
};

RunFormat effectiveFormat(const QTextCharFormat& format, const QFont& defaultFont)
{
    RunFormat run;
    run.bold = format.fontWeight() > QFont::Medium;
    run.italic = format.fontItalic();
    run.underline =
        format.fontUnderline() || (format.underlineStyle() != QTextCharFormat::NoUnderline &&
                                   format.underlineStyle() != QTextCharFormat::SpellCheckUnderline);
    run.strike = format.fontStrikeOut();
    const bool colored = format.hasProperty(QTextFormat::ForegroundBrush) &&
                         format.foreground().style() != Qt::NoBrush;
    run.color = colored ? format.foreground().color().name() : QStringLiteral("#000000");
    run.font = format.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (run.font.isEmpty())
        run.font = defaultFont.family();
    run.size = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                              : defaultFont.pointSizeF();
    return run;
}

QByteArray quoted(const QString& text)
{
    // QJsonDocument escapes strings correctly but sorts keys; wrapping a value keeps our order.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray boolean(bool value)
{
    return value ? "true" : "false";
}

QByteArray runJson(const QString& text, const RunFormat& format)
{
    return "{\"text\":" + quoted(text) + ",\"bold\":" + boolean(format.bold) +
           ",\"italic\":" + boolean(format.italic) + ",\"underline\":" + boolean(format.underline) +
           ",\"strike\":" + boolean(format.strike) + ",\"color\":" + quoted(format.color) +
           ",\"font\":" + quoted(format.font) + ",\"size\":" + QByteArray::number(format.size) +
           "}";
}

QByteArray paragraphJson(const QTextBlock& block, const QFont& defaultFont)
{
    QList<QPair<QString, RunFormat>> runs;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        const RunFormat format = effectiveFormat(fragment.charFormat(), defaultFont);
        if (!runs.isEmpty() && runs.last().second == format)
            runs.last().first += fragment.text();
        else
            runs.append({fragment.text(), format});
    }
    QByteArrayList items;
    for (const auto& [text, format] : runs)
        items.append(runJson(text, format));
    return "{\"bullet\":" + boolean(block.textList() != nullptr) + ",\"runs\":[" + items.join(',') +
           "]}";
}

QTextCharFormat charFormat(const QJsonObject& run, const QFont& defaultFont)
{
    QTextCharFormat format;
    format.setFontWeight(run.value("bold").toBool() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.value("italic").toBool());
    format.setFontUnderline(run.value("underline").toBool());
    format.setFontStrikeOut(run.value("strike").toBool());
    format.setForeground(QColor(run.value("color").toString(QStringLiteral("#000000"))));
    format.setFontFamilies({run.value("font").toString(defaultFont.family())});
    format.setFontPointSize(run.value("size").toDouble(defaultFont.pointSizeF()));
    return format;
}

QString paragraphText(QString text)
{
    // Inside a paragraph a newline can only be a line break.
    text.remove(u'\r');
    text.replace(u'\n', QChar::LineSeparator);
    return text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
}

void insertParagraph(QTextCursor& cursor, const QJsonObject& paragraph, QTextList*& list)
{
    const QFont defaultFont = cursor.document()->defaultFont();
    for (const QJsonValue run : paragraph.value("runs").toArray()) {
        const QJsonObject object = run.toObject();
        cursor.insertText(paragraphText(object.value("text").toString()),
                          charFormat(object, defaultFont));
    }
    if (!paragraph.value("bullet").toBool())
        list = nullptr;
    else if (list)
        list->add(cursor.block());
    else
        list = cursor.createList(QTextListFormat::ListDisc);
}

} // namespace

QByteArray DocumentJson::toJson(const QTextDocument& document)
{
    QByteArrayList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs.append(paragraphJson(block, document.defaultFont()));
    return "{\"paragraphs\":[" + paragraphs.join(',') + "]}";
}

bool DocumentJson::fromJson(const QByteArray& json, QTextDocument* document, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    if (!parsed.isObject() || !parsed.object().value("paragraphs").isArray()) {
        *error = parsed.isNull() ? parseError.errorString()
                                 : QStringLiteral("expected an object with a \"paragraphs\" array");
        return false;
    }
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    const QJsonArray paragraphs = parsed.object().value("paragraphs").toArray();
    for (qsizetype index = 0; index < paragraphs.size(); ++index) {
        if (index > 0)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        insertParagraph(cursor, paragraphs.at(index).toObject(), list);
    }
    cursor.endEditBlock();
    return true;
}
