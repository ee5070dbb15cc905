#include "spelling/Thesaurus.h"

#include <QDir>
#include <QFile>

#include <mythes.hxx>

namespace {

// "th_en_US_v2.idx" or "th_en_US.idx", each with its ".dat" beside it.
QString indexIn(const QDir& folder, const QString& pattern)
{
    const QStringList found =
        folder.entryList({QStringLiteral("th_%1*.idx").arg(pattern)}, QDir::Files, QDir::Name);
    for (const QString& index : found) {
        const QString data = index.chopped(4) + QLatin1String(".dat");
        if (folder.exists(data))
            return folder.filePath(index);
    }
    return {};
}

// MyThes marks how a word relates to the one looked up; the word is what the writer wants.
QString bare(QString synonym)
{
    const qsizetype note = synonym.indexOf(QLatin1String(" ("));
    if (note > 0)
        synonym.truncate(note);
    return synonym.trimmed();
}

} // namespace

Thesaurus::Thesaurus(const QString& language, const QString& folder) : m_folder(folder)
{
    setLanguage(language);
}

void Thesaurus::setLanguage(const QString& language)
{
    const QDir dir(m_folder);
    QString index = indexIn(dir, language + u'_');
    if (index.isEmpty())
        index = indexIn(dir, language.section(u'_', 0, 0) + u'_');
    if (index == m_index)
        return;
    m_index = index;
    m_data = index.isEmpty() ? QString() : index.chopped(4) + QLatin1String(".dat");
    m_thesaurus.reset();
}

Thesaurus::~Thesaurus() = default;

QList<Thesaurus::Meaning> Thesaurus::meanings(const QString& word)
{
    if (!isAvailable() || word.isEmpty())
        return {};
    if (!m_thesaurus) {
        m_thesaurus = std::make_unique<MyThes>(QFile::encodeName(m_index).constData(),
                                               QFile::encodeName(m_data).constData());
        const char* encoding = m_thesaurus->get_th_encoding();
        m_utf8 = encoding && qstricmp(encoding, "UTF-8") == 0;
    }
    // Entries are in lower case, except names.
    QList<Meaning> found = lookUp(word);
    if (found.isEmpty() && word != word.toLower())
        found = lookUp(word.toLower());
    return found;
}

QList<Thesaurus::Meaning> Thesaurus::lookUp(const QString& word)
{
    const QByteArray key = m_utf8 ? word.toUtf8() : word.toLatin1();
    const auto text = [this](const char* bytes) {
        return m_utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    };
    mentry* entries = nullptr;
    const int count = m_thesaurus->Lookup(key.constData(), int(key.size()), &entries);
    QList<Meaning> meanings;
    for (int i = 0; i < count; ++i) {
        Meaning meaning{bare(text(entries[i].defn)), {}};
        for (int s = 0; s < entries[i].count; ++s) {
            const QString synonym = text(entries[i].psyns[s]);
            const QString other = bare(synonym);
            if (!synonym.endsWith(QLatin1String("(antonym)")) && !other.isEmpty() &&
                other.compare(word, Qt::CaseInsensitive) != 0 && !meaning.synonyms.contains(other))
                meaning.synonyms << other;
        }
        meanings << meaning;
    }
    m_thesaurus->CleanUpAfterLookup(&entries, count);
    return meanings;
}
