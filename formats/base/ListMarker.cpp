#include "formats/base/ListMarker.h"

#include "formats/base/Numbering.h"
#include "formats/base/TextProperties.h"

#include <QTextBlock>
#include <QTextList>

QString ListMarker::text(const QTextBlock& block, const QTextList& list)
{
    const QTextListFormat format = list.format();
    Numbering numbering;
    switch (format.style()) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("\u2022");
    case QTextListFormat::ListCircle:
        return QStringLiteral("\u25e6");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25aa");
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
    if (!differsFromQt(format))
        return list.itemText(block);
    numbering.start = format.intProperty(TextProperties::ListStart);
    // Qt's own default around the number: nothing before it, a full stop after.
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    return format.numberPrefix() + numbering.label(list.itemNumber(block)) + suffix;
}

bool ListMarker::differsFromQt(const QTextListFormat& format)
{
    return format.hasProperty(TextProperties::ListStart) &&
           format.intProperty(TextProperties::ListStart) != 1 &&
           format.style() != QTextListFormat::ListDisc &&
           format.style() != QTextListFormat::ListCircle &&
           format.style() != QTextListFormat::ListSquare;
}
