#include "spelling/PersonalDictionary.h"

#include "formats/AtomicFile.h"
#include "platform/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <utility>

PersonalDictionary::PersonalDictionary(const QString& dataDir) : m_dataDir(dataDir) {}

QString PersonalDictionary::path() const
{
    return QDir(DataFolder::path(m_dataDir)).filePath(QStringLiteral("dictionary.txt"));
}

const QSet<QString>& PersonalDictionary::words()
{
    load();
    return m_words;
}

void PersonalDictionary::load()
{
    if (std::exchange(m_loaded, true))
        return;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (const QString word = line.trimmed(); !word.isEmpty())
            m_words.insert(word);
}

bool PersonalDictionary::add(const QString& word)
{
    load();
    if (word.trimmed().isEmpty() || m_words.contains(word))
        return true;
    m_words.insert(word);
    QStringList sorted(m_words.cbegin(), m_words.cend());
    std::sort(sorted.begin(), sorted.end());
    const QByteArray content = sorted.join(QLatin1Char('\n')).toUtf8() + '\n';
    if (!QDir().mkpath(DataFolder::path(m_dataDir))) {
        m_errorString =
            QCoreApplication::translate("PersonalDictionary", "the folder %1 cannot be made")
                .arg(QDir::toNativeSeparators(DataFolder::path(m_dataDir)));
        return false;
    }
    return AtomicFile::write(path(), {content}, &m_errorString);
}
