#include "documents/WordCount.h"

#include "platform/WordRules.h"

#include <QLocale>

namespace {

enum class Kind { Space, Break, Letter, Other, Ideograph, Mark };

Kind kindOf(char32_t c)
{
    // Most text is ASCII, and the Unicode tables are slow beside these comparisons.
    if (c < 0x80) {
        if (c == ' ' || c == '\t')
            return Kind::Space;
        if (c == '\n' || c == '\r' || c == '\v' || c == '\f')
            return Kind::Break;
        const char32_t lower = c | 0x20;
        return (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9') ? Kind::Letter
                                                                        : Kind::Other;
    }
    if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
        return Kind::Break;
    if (QChar::isSpace(c))
        return Kind::Space;
    if (QChar::isMark(c))
        return Kind::Mark;
    if (WordRules::spacingOf(c) == WordRules::Spacing::Ideographic)
        return Kind::Ideograph;
    return WordRules::isLetter(c) ? Kind::Letter : Kind::Other;
}

QString counted(qint64 number, const char* one, const char* many)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(number) + QLatin1Char(' ') + QLatin1String(number == 1 ? one : many);
}

} // namespace

WordCount WordCount::of(QStringView text)
{
    WordCount n;
    bool runHasLetter = false;
    const auto endRun = [&] {
        n.words += runHasLetter;
        runHasLetter = false;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        const Kind kind = kindOf(c);
        if (kind != Kind::Mark && kind != Kind::Break)
            ++n.characters;
        switch (kind) {
        case Kind::Space:
        case Kind::Break:
            endRun();
            break;
        case Kind::Ideograph:
            endRun();
            ++n.words;
            break;
        case Kind::Letter:
            runHasLetter = true;
            break;
        case Kind::Other:
        case Kind::Mark:
            break;
        }
    }
    endRun();
    return n;
}

QString WordCount::describe() const
{
    return counted(words, "word", "words") + QLatin1String(", ") +
           counted(characters, "character", "characters");
}

QString WordCount::describeSelection(qint64 selectedWords) const
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(selectedWords) + QLatin1String(" of ") +
           counted(words, "word", "words");
}
