#include "platform/WordRules.h"

#include <QChar>

bool WordRules::isLetter(char32_t c)
{
    return QChar::isLetterOrNumber(c);
}

WordRules::Spacing WordRules::spacingOf(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
    case QChar::Script_Yi:
        return Spacing::Ideographic;
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
        return Spacing::Unspaced;
    default:
        return Spacing::Spaced;
    }
}
