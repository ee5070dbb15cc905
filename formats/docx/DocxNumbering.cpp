#include "formats/docx/DocxNumbering.h"

#include "formats/base/TextProperties.h"
#include "formats/docx/DocxXml.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include "formats/base/XmlReader.h"

#include <array>
#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Longer levels are rare enough to read each time; more would be memory for nothing.
constexpr qsizetype s_longestKeptLevel = 1024;
constexpr size_t s_levelsKept = 256;

constexpr std::array<std::pair<QTextListFormat::Style, QLatin1StringView>, 5> s_numberFormats = {{
    {QTextListFormat::ListDecimal, "decimal"_L1},
    {QTextListFormat::ListLowerAlpha, "lowerLetter"_L1},
    {QTextListFormat::ListUpperAlpha, "upperLetter"_L1},
    {QTextListFormat::ListLowerRoman, "lowerRoman"_L1},
    {QTextListFormat::ListUpperRoman, "upperRoman"_L1},
}};

// A bullet's look from its character, as Word, LibreOffice and Symbol fonts write them.
QTextListFormat::Style bulletStyle(QStringView text)
{
    if (text == u"o" || text == u"\u25e6" || text == u"\u25cb")
        return QTextListFormat::ListCircle;
    if (text == u"\u25aa" || text == u"\u25a0" || text == u"\uf0a7" || text == u"\uf0a8")
        return QTextListFormat::ListSquare;
    return QTextListFormat::ListDisc;
}

QTextListFormat::Style styleOf(QStringView numberFormat, QStringView text)
{
    if (numberFormat == u"bullet")
        return bulletStyle(text);
    if (numberFormat == u"none")
        return QTextListFormat::ListStyleUndefined;
    for (const auto& [style, name] : s_numberFormats)
        if (numberFormat == name)
            return style;
    return QTextListFormat::ListDecimal;
}

// What stands around the number: prefix and suffix when the text shows only its own level's
// number, else the whole text as the RTF list table keeps it, which the format carries.
void setNumberText(QTextListFormat& format, const QString& text, int level)
{
    const QString own = u'%' + QString::number(level + 1);
    const qsizetype at = text.indexOf(own);
    if (at >= 0 && text.count(u'%') == 1) {
        format.setNumberPrefix(text.first(at));
        format.setNumberSuffix(text.sliced(at + own.size()));
        return;
    }
    QString kept;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text[index];
        if (c == u'%' && index + 1 < text.size() && text[index + 1] >= u'1' &&
            text[index + 1] <= u'9')
            kept.append(QChar(char16_t(text[++index].unicode() - u'1')));
        else
            kept.append(c);
    }
    format.setNumberPrefix(QString());
    format.setNumberSuffix(QString());
    format.setProperty(TextProperties::ListLevelText, QChar(char16_t(kept.size())) + kept);
}

} // namespace

bool DocxNumbering::read(const QByteArray& numbering, QString* error)
{
    XmlReader xml(numbering);
    DocxXml::readLoosely(xml);
    // Lists repeat their levels byte for byte: each is read once.
    std::map<std::string, Level, std::less<>> read;
    if (DocxXml::toRoot(xml)) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"abstractNum") {
                Levels& levels = m_abstract[DocxXml::number(xml, "abstractNumId"_L1).value_or(-1)];
                while (xml.readNextStartElement()) {
                    const int level = DocxXml::number(xml, "ilvl"_L1).value_or(-1);
                    if (xml.name() == u"lvl" && level >= 0 && level < levelCount)
                        levels[size_t(level)] = readLevel(xml, read);
                    else
                        xml.skipCurrentElement();
                }
            } else if (xml.name() == u"num") {
                readList(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return !xml.hasError();
}

DocxNumbering::Level DocxNumbering::readLevel(XmlReader& xml,
                                              std::map<std::string, Level, std::less<>>& read)
{
    const QByteArrayView bytes = xml.elementBytes(s_longestKeptLevel);
    const std::string_view key(bytes.data(), size_t(bytes.size()));
    if (const auto kept = bytes.isEmpty() ? read.end() : read.find(key); kept != read.end()) {
        xml.skipElement(bytes);
        return kept->second;
    }
    const Level level = readLevel(xml);
    if (xml.readWhole(bytes) && read.size() < s_levelsKept)
        read.try_emplace(std::string(key), level);
    return level;
}

DocxNumbering::Level DocxNumbering::readLevel(XmlReader& xml)
{
    Level level;
    level.given = true;
    level.numberFormat = QStringLiteral("decimal");
    while (xml.readNextStartElement()) {
        const QStringView value = DocxXml::attribute(xml, "val"_L1);
        if (xml.name() == u"start")
            level.start = DocxXml::number(xml, "val"_L1).value_or(1);
        else if (xml.name() == u"numFmt")
            level.numberFormat = value.toString();
        else if (xml.name() == u"lvlText")
            level.text = value.toString();
        xml.skipCurrentElement();
    }
    return level;
}

void DocxNumbering::readList(XmlReader& xml)
{
    List& list = m_lists[DocxXml::number(xml, "numId"_L1).value_or(-1)];
    while (xml.readNextStartElement()) {
        if (xml.name() == u"abstractNumId") {
            list.abstract = DocxXml::number(xml, "val"_L1).value_or(0);
        } else if (xml.name() == u"lvlOverride") {
            const int level = DocxXml::number(xml, "ilvl"_L1).value_or(0);
            while (xml.readNextStartElement()) {
                if (xml.name() == u"startOverride")
                    list.starts.insert(level, DocxXml::number(xml, "val"_L1).value_or(1));
                xml.skipCurrentElement();
            }
            continue;
        }
        xml.skipCurrentElement();
    }
}

QTextListFormat DocxNumbering::format(int numId, int level) const
{
    QTextListFormat format;
    const auto list = m_lists.constFind(numId);
    const auto levels =
        list == m_lists.constEnd() ? m_abstract.constEnd() : m_abstract.constFind(list->abstract);
    if (levels == m_abstract.constEnd() || level < 0 || level >= levelCount ||
        !(*levels)[size_t(level)].given)
        return format;
    const Level& given = (*levels)[size_t(level)];
    format.setStyle(styleOf(given.numberFormat, given.text));
    if (format.style() == QTextListFormat::ListStyleUndefined)
        return format;
    format.setIndent(level + 1);
    format.setProperty(TextProperties::ListId, numId);
    if (RtfCharacterPolicy::isBullet(format.style()))
        return format;
    setNumberText(format, given.text, level);
    const int start = list->starts.value(level, given.start);
    if (start != 1)
        format.setProperty(TextProperties::ListStart, start);
    return format;
}

QLatin1StringView DocxNumbering::formatName(QTextListFormat::Style style)
{
    for (const auto& [known, name] : s_numberFormats)
        if (style == known)
            return name;
    return "bullet"_L1;
}

QString DocxNumbering::levelText(const QTextListFormat& format, int level)
{
    switch (format.style()) {
    case QTextListFormat::ListCircle:
        return QStringLiteral("\u25e6");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25aa");
    case QTextListFormat::ListDisc:
        return QStringLiteral("\u2022");
    default:
        break;
    }
    const QString kept = format.stringProperty(TextProperties::ListLevelText);
    if (kept.isEmpty()) {
        const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix)
                                   ? format.numberSuffix()
                                   : QStringLiteral(".");
        return format.numberPrefix() + u'%' + QString::number(level + 1) + suffix;
    }
    QString text;
    for (const QChar c : QStringView(kept).sliced(1))
        text += c.unicode() < DocxNumbering::levelCount ? u'%' + QString::number(c.unicode() + 1)
                                                        : QString(c);
    return text;
}
