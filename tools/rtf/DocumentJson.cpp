#include "tools/rtf/DocumentJson.h"

#include "formats/base/ListMarker.h"
#include "formats/base/TextProperties.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

// List styles and alignments by the names the JSON uses; the first of each is the default.
const QList<std::pair<QTextListFormat::Style, QString>> s_listNames = {
    {QTextListFormat::ListDisc, QStringLiteral("bullet")},
    {QTextListFormat::ListDecimal, QStringLiteral("decimal")},
    {QTextListFormat::ListLowerAlpha, QStringLiteral("lower-alpha")},
    {QTextListFormat::ListUpperAlpha, QStringLiteral("upper-alpha")},
    {QTextListFormat::ListLowerRoman, QStringLiteral("lower-roman")},
    {QTextListFormat::ListUpperRoman, QStringLiteral("upper-roman")},
    {QTextListFormat::ListCircle, QStringLiteral("circle")},
    {QTextListFormat::ListSquare, QStringLiteral("square")},
};
const QList<std::pair<Qt::Alignment, QString>> s_alignNames = {
    {Qt::AlignLeft, QStringLiteral("left")},
    {Qt::AlignHCenter, QStringLiteral("center")},
    {Qt::AlignRight, QStringLiteral("right")},
    {Qt::AlignJustify, QStringLiteral("justify")},
};

// Text with every surrogate that lacks its other half made U+FFFD, so it encodes as UTF-8.
QString wellFormed(QString text)
{
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (text[index].isHighSurrogate() && index + 1 < text.size() &&
            text[index + 1].isLowSurrogate())
            ++index;
        else if (text[index].isSurrogate())
            text[index] = QChar::ReplacementCharacter;
    }
    return text;
}

QByteArray quoted(const QString& text)
{
    // QJsonDocument escapes strings correctly but sorts keys; wrapping a value keeps our order.
    const QByteArray array =
        QJsonDocument(QJsonArray{wellFormed(text)}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray boolean(bool value)
{
    return value ? "true" : "false";
}

// Attributes most runs lack, named only when present so plain runs read as they always did.
QByteArray optionalAttributesJson(const QTextCharFormat& format)
{
    QByteArray json;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        json += ",\"vertical\":\"super\"";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        json += ",\"vertical\":\"sub\"";
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() != Qt::NoBrush)
        json += ",\"highlight\":" + quoted(format.background().color().name());
    if (format.isAnchor())
        json += ",\"link\":" + quoted(format.anchorHref());
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        json +=
            ",\"image\":" + quoted(QStringLiteral("%1x%2").arg(image.width()).arg(image.height()));
    }
    return json;
}

// Everything in a run's JSON after its text, as the format looks once defaults are applied.
QByteArray attributesJson(const QTextCharFormat& format, const QFont& defaultFont)
{
    const bool underline =
        format.fontUnderline() || (format.underlineStyle() != QTextCharFormat::NoUnderline &&
                                   format.underlineStyle() != QTextCharFormat::SpellCheckUnderline);
    const bool colored = format.hasProperty(QTextFormat::ForegroundBrush) &&
                         format.foreground().style() != Qt::NoBrush;
    QString font = format.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (font.isEmpty())
        font = defaultFont.family();
    const double size = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                       : defaultFont.pointSizeF();
    return ",\"bold\":" + boolean(format.fontWeight() > QFont::Medium) +
           ",\"italic\":" + boolean(format.fontItalic()) + ",\"underline\":" + boolean(underline) +
           ",\"strike\":" + boolean(format.fontStrikeOut()) + ",\"color\":" +
           quoted(colored ? format.foreground().color().name() : QStringLiteral("#000000")) +
           ",\"font\":" + quoted(font) + ",\"size\":" + QByteArray::number(size) +
           optionalAttributesJson(format) + "}";
}

QByteArray paragraphJson(const QTextBlock& block, const QFont& defaultFont)
{
    QByteArrayList runs;
    QString text;
    QByteArray attributes;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        // Hidden text is no part of what the document shows.
        if (fragment.charFormat().objectType() == TextProperties::HiddenTextObject)
            continue;
        const QByteArray fragmentAttributes = attributesJson(fragment.charFormat(), defaultFont);
        if (!text.isEmpty() && fragmentAttributes != attributes) {
            runs.append("{\"text\":" + quoted(text) + attributes);
            text.clear();
        }
        text += fragment.text();
        attributes = fragmentAttributes;
    }
    if (!text.isEmpty())
        runs.append("{\"text\":" + quoted(text) + attributes);
    QByteArray optional;
    if (const QTextList* list = block.textList()) {
        for (const auto& [style, name] : s_listNames) {
            if (style == list->format().style())
                optional += ",\"list\":" + quoted(name);
        }
        optional += ",\"marker\":" + quoted(ListMarker::text(block, *list));
    }
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    for (const auto& [flag, name] : s_alignNames.sliced(1)) {
        if (alignment & flag) {
            optional += ",\"align\":" + quoted(name);
            break;
        }
    }
    return "{\"bullet\":" + boolean(block.textList() != nullptr) + optional + ",\"runs\":[" +
           runs.join(',') + "]}";
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
    const double size = run.value("size").toDouble();
    format.setFontPointSize(size > 0 ? size : defaultFont.pointSizeF());
    const QString vertical = run.value("vertical").toString();
    if (vertical == QLatin1String("super"))
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (vertical == QLatin1String("sub"))
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (run.contains("highlight"))
        format.setBackground(QColor(run.value("highlight").toString()));
    if (run.contains("link")) {
        format.setAnchor(true);
        format.setAnchorHref(run.value("link").toString());
    }
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
    const QString align = paragraph.value("align").toString();
    for (const auto& [flag, name] : s_alignNames) {
        if (name == align) {
            QTextBlockFormat format = cursor.blockFormat();
            format.setAlignment(flag);
            cursor.setBlockFormat(format);
        }
    }
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    for (const auto& [listStyle, name] : s_listNames) {
        if (name == paragraph.value("list").toString())
            style = listStyle;
    }
    if (!paragraph.value("bullet").toBool())
        list = nullptr;
    else if (list && list->format().style() == style)
        list->add(cursor.block());
    else
        list = cursor.createList(style);
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
