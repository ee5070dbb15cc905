#include "spelling/SpellChecker.h"

#include "platform/WordRules.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextDocument>
#include <QTimer>

#include <hunspell/hunspell.hxx>

#include <utility>

namespace {

// Keeps the answers for a long document's words without growing for ever.
constexpr qsizetype mostKnownWords = 200000;
// An addition to the personal dictionary changes its folder several times within a few
// milliseconds: the lock, the new file, its rename.
constexpr int personalSettleMs = 100;

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

bool isUtf8(const QString& encoding)
{
    return encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
}

/// word in the dictionary's encoding; ok is false when that encoding cannot hold it.
std::string encodedIn(const QString& encoding, const QString& word, bool* ok)
{
    *ok = true;
    if (isUtf8(encoding))
        return word.toStdString();
    QStringEncoder encoder(encoding.toLatin1().constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Latin1);
    const QByteArray bytes = encoder.encode(word);
    *ok = !encoder.hasError();
    return bytes.toStdString();
}

} // namespace

/// What the worker read: Hunspell's dictionary with the personal words in it.
struct SpellChecker::Loaded
{
    std::unique_ptr<Hunspell> hunspell;
    QString encoding;
    qint64 personalSize = 0;
    qint64 personalRead = 0;
    qsizetype personalWords = 0;
};

SpellChecker::SpellChecker(const SpellDictionary& dictionary, const QString& dataDir,
                           QObject* parent)
    : QObject(parent), m_dictionary(dictionary), m_personal(dataDir)
{
    m_worker.setMaxThreadCount(1);
    m_watcher = new QFileSystemWatcher(this);
    m_personalChange = new QTimer(this);
    m_personalChange->setSingleShot(true);
    m_personalChange->setInterval(personalSettleMs);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_personalChange,
            qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_personalChange,
            qOverload<>(&QTimer::start));
    connect(m_personalChange, &QTimer::timeout, this, &SpellChecker::personal_Change);
}

SpellChecker::~SpellChecker()
{
    m_closing = true;
    m_worker.waitForDone();
}

// Only the text near the words is taken, a character at a time: a paragraph can be the whole
// of a long document, and a cursor would read all of it. Text is taken on each side of the
// words, so that a word cut at first or last is read whole and an address around a word is
// seen as one.
SpellChecker::Around SpellChecker::wordsAround(const QTextDocument& document, int first, int last)
{
    constexpr int reach = 64;
    Around around;
    around.start = qMax(0, first - reach);
    const int end = document.characterCount() - 1;
    const int taken = qMin(end, last + reach);
    around.text.reserve(taken - around.start);
    for (int at = around.start; at < taken; ++at)
        around.text += document.characterAt(at);
    for (const Word& word : words(around.text)) {
        const bool cut = (word.start == 0 && around.start > 0) ||
                         (word.start + word.length == around.text.size() && taken < end);
        const int start = around.start + int(word.start);
        if (!cut && start <= last && start + word.length >= first)
            around.words << word;
    }
    return around;
}

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

bool SpellChecker::isCorrect(const QString& word)
{
    if (!m_hunspell)
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
    if (!m_hunspell || !representable)
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
    m_accepted.insert(word);
    learn(word);
}

void SpellChecker::addToPersonal(const QString& word)
{
    ignore(word);
    m_worker.start([this, word] {
        QString reason;
        if (m_personal.add(word, &reason))
            m_workerWords.insert(word);
        else
            QMetaObject::invokeMethod(
                this, [this, word, reason] { emit personalNotKept(word, reason); },
                Qt::QueuedConnection);
        QMetaObject::invokeMethod(this, &SpellChecker::watchPersonal, Qt::QueuedConnection);
    });
}

void SpellChecker::load()
{
    if (m_hunspell || m_loading || !isAvailable())
        return;
    m_loading = true;
    m_worker.start([this, dictionary = m_dictionary] { readDictionaries(dictionary, false); });
}

void SpellChecker::setDictionary(const SpellDictionary& dictionary)
{
    const bool read = m_hunspell || m_loading;
    m_dictionary = dictionary;
    if (!read || !isAvailable())
        return;
    m_loading = true;
    // Queued after any reading under way, whose dictionary this one then replaces.
    m_worker.start([this, dictionary] { readDictionaries(dictionary, false); });
}

// On the worker, with its own copy of the dictionary, which the window may change meanwhile.
// Hunspell is read anew with the personal words, unless those are the words the loaded one
// knows already, as after this instance's own addition.
void SpellChecker::readDictionaries(const SpellDictionary& dictionary, bool unlessSame)
{
    const PersonalDictionary::Contents personal = m_personal.read();
    QSet<QString> words(personal.words.cbegin(), personal.words.cend());
    if (unlessSame && words == m_workerWords) {
        QMetaObject::invokeMethod(this, &SpellChecker::watchPersonal, Qt::QueuedConnection);
        return;
    }
    auto loaded = std::make_shared<Loaded>();
    loaded->hunspell =
        std::make_unique<Hunspell>(QFile::encodeName(dictionary.affixFile).constData(),
                                   QFile::encodeName(dictionary.wordFile).constData());
    loaded->encoding = QString::fromStdString(loaded->hunspell->get_dict_encoding());
    loaded->personalSize = personal.fileSize;
    loaded->personalRead = personal.bytesRead;
    loaded->personalWords = words.size();
    for (const QString& word : std::as_const(words)) {
        if (m_closing)
            return;
        bool representable = false;
        const std::string bytes = encodedIn(loaded->encoding, word, &representable);
        if (representable)
            loaded->hunspell->add(bytes);
    }
    m_workerWords = std::move(words);
    QMetaObject::invokeMethod(
        this, [this, loaded] { takeLoaded(loaded); }, Qt::QueuedConnection);
}

void SpellChecker::takeLoaded(const std::shared_ptr<Loaded>& loaded)
{
    m_loading = false;
    Hunspell* previous = m_hunspell.release();
    m_hunspell = std::move(loaded->hunspell);
    m_encoding = loaded->encoding;
    m_known.clear();
    for (const QString& word : std::as_const(m_accepted))
        learn(word);
    // Freeing a dictionary with many words takes time too, which the window need not wait for.
    if (previous)
        m_worker.start([previous] { delete previous; });
    watchPersonal();
    if (loaded->personalRead < loaded->personalSize && !std::exchange(m_toldTooLarge, true))
        emit personalTooLarge(loaded->personalSize, loaded->personalRead, loaded->personalWords);
    emit ready();
}

// Another instance, or the writer, changed the personal dictionary: read it again, once the
// dictionaries are read a first time, which reads it anyway.
void SpellChecker::personal_Change()
{
    if (m_hunspell)
        m_worker.start([this, dictionary = m_dictionary] { readDictionaries(dictionary, true); });
}

// Replacing the file ends the watch on it, and a file that is not there yet can only be seen
// arriving in its folder: both are watched again after each change. What changed while the
// file was not watched is found by reading it once more.
void SpellChecker::watchPersonal()
{
    const QString file = m_personal.path();
    const QString folder = QFileInfo(file).path();
    if (QFileInfo::exists(folder) && !m_watcher->directories().contains(folder))
        m_watcher->addPath(folder);
    if (QFileInfo::exists(file) && !m_watcher->files().contains(file) && m_watcher->addPath(file))
        m_personalChange->start();
}

void SpellChecker::learn(const QString& word)
{
    if (!m_hunspell)
        return;
    bool representable = false;
    const std::string bytes = encoded(word, &representable);
    if (representable)
        m_hunspell->add(bytes);
    m_known.insert(word, true);
}

std::string SpellChecker::encoded(const QString& word, bool* ok) const
{
    return encodedIn(m_encoding, word, ok);
}

QString SpellChecker::decoded(const std::string& word) const
{
    if (isUtf8(m_encoding))
        return QString::fromStdString(word);
    QStringDecoder decoder(m_encoding.toLatin1().constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1);
    return decoder.decode(QByteArrayView(word.data(), qsizetype(word.size())));
}
