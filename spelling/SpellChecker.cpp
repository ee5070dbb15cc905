#include "spelling/SpellChecker.h"

#include "platform/WordRules.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell/hunspell.hxx>

#include <utility>

namespace {

// Keeps the answers for a long document's words without growing for ever.
constexpr qsizetype mostKnownWords = 200000;

bool isApostrophe(char32_t c)
{
    return c == '\'' || c == 0x2019;
}

bool isWordChar(char32_t c)
{
    return WordRules::isLetter(c) || QChar::isMark(c) || c == '_';
}

/// The character at i, a surrogate pair taken whole; width tells how many units it takes.
char32_t codeAt(QStringView text, qsizetype i, qsizetype* width)
{
    *width = 1;
    if (i < 0 || i >= text.size())
        return 0;
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *width = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    return c.unicode();
}

// Addresses such as mail@example.org or www.example.org/page are not words.
bool isPartOfAddress(QStringView text, qsizetype start, qsizetype end)
{
    const auto at = [&](qsizetype i) {
        return i >= 0 && i < text.size() ? char32_t(text[i].unicode()) : char32_t(0);
    };
    const auto joins = [](char32_t c) { return c == '@' || c == '/'; };
    if (joins(at(start - 1)) || joins(at(end)))
        return true;
    return (at(start - 1) == '.' && isWordChar(at(start - 2))) ||
           (at(end) == '.' && isWordChar(at(end + 1)));
}

} // namespace

SpellChecker::SpellChecker(const SpellDictionary& dictionary, const QString& dataDir)
    : m_dictionary(dictionary), m_personal(dataDir)
{
}

SpellChecker::~SpellChecker() = default;

QList<SpellChecker::Word> SpellChecker::words(QStringView text)
{
    QList<Word> found;
    qsizetype width = 1;
    for (qsizetype i = 0; i < text.size();) {
        if (!isWordChar(codeAt(text, i, &width))) {
            i += width;
            continue;
        }
        const qsizetype start = i;
        bool checkable = true;
        while (i < text.size()) {
            const char32_t c = codeAt(text, i, &width);
            if (isWordChar(c)) {
                // Words in scripts written without spaces cannot be told apart here.
                if (QChar::isDigit(c) || c == '_' ||
                    WordRules::spacingOf(c) != WordRules::Spacing::Spaced)
                    checkable = false;
            } else if (qsizetype next = 1;
                       !isApostrophe(c) || !QChar::isLetter(codeAt(text, i + 1, &next))) {
                break;
            }
            i += width;
        }
        if (checkable && !isPartOfAddress(text, start, i))
            found << Word{start, i - start};
    }
    return found;
}

QList<SpellChecker::Word> SpellChecker::misspellings(QStringView text)
{
    QList<Word> wrong;
    if (!load())
        return wrong;
    for (const Word& word : words(text))
        if (!isCorrect(text.mid(word.start, word.length).toString()))
            wrong << word;
    return wrong;
}

bool SpellChecker::isCorrect(const QString& word)
{
    if (!load())
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.cend())
        return *known;
    bool representable = false;
    const std::string bytes = encoded(word, &representable);
    // A word the dictionary's encoding cannot hold is not in its language.
    const bool correct = !representable || m_hunspell->spell(bytes);
    if (m_known.size() >= mostKnownWords)
        m_known.clear();
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString& word, int most)
{
    QStringList offered;
    bool representable = false;
    const std::string bytes = encoded(word, &representable);
    if (!load() || !representable)
        return offered;
    for (const std::string& suggestion : m_hunspell->suggest(bytes)) {
        if (offered.size() >= most)
            break;
        offered << decoded(suggestion);
    }
    return offered;
}

void SpellChecker::ignore(const QString& word)
{
    if (!load())
        return;
    bool representable = false;
    const std::string bytes = encoded(word, &representable);
    if (representable)
        m_hunspell->add(bytes);
    m_known.insert(word, true);
}

bool SpellChecker::addToPersonal(const QString& word, QString* errorString)
{
    ignore(word);
    return m_personal.add(word, errorString);
}

bool SpellChecker::load()
{
    if (std::exchange(m_loadTried, true))
        return bool(m_hunspell);
    if (!m_dictionary.isValid())
        return false;
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(m_dictionary.affixFile).constData(),
                                            QFile::encodeName(m_dictionary.wordFile).constData());
    m_encoding = QString::fromStdString(m_hunspell->get_dict_encoding());
    m_utf8 = m_encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    for (const QString& word : m_personal.read().words)
        ignore(word);
    return true;
}

std::string SpellChecker::encoded(const QString& word, bool* ok) const
{
    *ok = true;
    if (m_utf8)
        return word.toStdString();
    QStringEncoder encoder(m_encoding.toLatin1().constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Latin1);
    const QByteArray bytes = encoder.encode(word);
    *ok = !encoder.hasError();
    return bytes.toStdString();
}

QString SpellChecker::decoded(const std::string& word) const
{
    if (m_utf8)
        return QString::fromStdString(word);
    QStringDecoder decoder(m_encoding.toLatin1().constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1);
    return decoder.decode(QByteArrayView(word.data(), qsizetype(word.size())));
}
