#include "formats/base/ListMarker.h"

#include "formats/base/Numbering.h"
#include "formats/base/TextProperties.h"

#include <QTextBlock>
#include <QTextList>

#include <optional>

namespace {

QString bullet(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QStringLiteral("\u25e6");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25aa");
    default:
        return QStringLiteral("\u2022");
    }
}

// How a numbered list counts; nothing for a bullet's.
std::optional<Numbering> numberingOf(const QTextListFormat& format)
{
    Numbering numbering;
    switch (format.style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return std::nullopt;
    case QTextListFormat::ListLowerAlpha:
        numbering.style = Numbering::LowerLetter;
        break;
    case QTextListFormat::ListUpperAlpha:
        numbering.style = Numbering::UpperLetter;
        break;
    case QTextListFormat::ListLowerRoman:
        numbering.style = Numbering::LowerRoman;
        break;
    case QTextListFormat::ListUpperRoman:
        numbering.style = Numbering::UpperRoman;
        break;
    default:
        break;
    }
    if (format.hasProperty(TextProperties::ListStart))
        numbering.start = format.intProperty(TextProperties::ListStart);
    return numbering;
}

// The levels a level's number text shows ("1.1." shows its own and the one above), as the
// list table gave it: its length, then characters, the levels' places below 9.
QString levelsShown(const QTextListFormat& format)
{
    const QString text = format.stringProperty(TextProperties::ListLevelText);
    return text.isEmpty() ? QString() : text.mid(1, text.front().unicode());
}

bool showsOtherLevels(const QTextListFormat& format)
{
    const int own = format.indent() - 1;
    for (const QChar c : levelsShown(format))
        if (c.unicode() < 9 && c.unicode() != own)
            return true;
    return false;
}

// The number of the item of a level above list's that list's items come under: the nearest
// one before the list begins, with no paragraph outside lists between. Any list's will do, as
// a file may give each level a list of its own.
QString numberAbove(const QTextList& list, int level)
{
    for (QTextBlock block = list.item(0).previous(); block.isValid(); block = block.previous()) {
        const QTextList* above = block.textList();
        if (!above)
            break;
        const QTextListFormat format = above->format();
        if (format.indent() - 1 > level)
            continue;
        if (format.indent() - 1 < level)
            break;
        const std::optional<Numbering> numbering = numberingOf(format);
        return numbering ? numbering->label(above->itemNumber(block)) : QString();
    }
    return QStringLiteral("1");
}

} // namespace

QString ListMarker::text(const QTextBlock& block, const QTextList& list)
{
    const QTextListFormat format = list.format();
    const std::optional<Numbering> numbering = numberingOf(format);
    if (!numbering)
        return bullet(format.style());
    if (!differsFromQt(format))
        return list.itemText(block);
    const QString own = numbering->label(list.itemNumber(block));
    if (!showsOtherLevels(format)) {
        // Qt's own default around the number: nothing before it, a full stop after.
        const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix)
                                   ? format.numberSuffix()
                                   : QStringLiteral(".");
        return format.numberPrefix() + own + suffix;
    }
    const int ownLevel = format.indent() - 1;
    QString text;
    for (const QChar c : levelsShown(format)) {
        if (c.unicode() >= 9)
            text += c;
        else if (c.unicode() == ownLevel)
            text += own;
        else if (c.unicode() < ownLevel)
            text += numberAbove(list, c.unicode());
    }
    return text;
}

bool ListMarker::differsFromQt(const QTextListFormat& format)
{
    if (!numberingOf(format))
        return false;
    return (format.hasProperty(TextProperties::ListStart) &&
            format.intProperty(TextProperties::ListStart) != 1) ||
           showsOtherLevels(format);
}
