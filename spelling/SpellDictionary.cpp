#include "spelling/SpellDictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

SpellDictionary inFolder(const QDir& folder, const QString& name)
{
    const QString affix = folder.filePath(name + QLatin1String(".aff"));
    const QString words = folder.filePath(name + QLatin1String(".dic"));
    if (!QFileInfo(affix).isFile() || !QFileInfo(words).isFile())
        return {};
    return {affix, words, name, {}};
}

/// The names of the whole dictionaries in folders, each once, in the order of their names.
QStringList namesIn(const QStringList& folders)
{
    QStringList names;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList({QStringLiteral("*.aff")}, QDir::Files)) {
            const QString name = QFileInfo(file).completeBaseName();
            if (inFolder(dir, name).isValid())
                names << name;
        }
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

} // namespace

QString SpellDictionary::languageName() const
{
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return name;
    const QString language = QLocale::languageToString(locale.language());
    // "de" says the language alone; "de_DE_frami" or "en_US-large" are one of its variants.
    static const QRegularExpression plain(QStringLiteral("^[a-z]{2,3}(_[A-Z]{2})?$"));
    const QString shown = name.contains(QLatin1Char('_'))
                              ? QStringLiteral("%1 (%2)").arg(
                                    language, QLocale::territoryToString(locale.territory()))
                              : language;
    return plain.match(name).hasMatch() ? shown : QStringLiteral("%1 [%2]").arg(shown, name);
}

QStringList SpellDictionary::systemFolders()
{
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {own + QLatin1String("/hunspell"), QLatin1String(systemFolder),
            QStringLiteral("/usr/share/myspell"), QStringLiteral("/usr/share/myspell/dicts")};
}

QList<SpellDictionary> SpellDictionary::installed(const QStringList& folders)
{
    QList<SpellDictionary> found;
    for (const QString& name : namesIn(folders))
        found << named(name, folders);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.languageName(), b.languageName()) < 0;
    });
    return found;
}

SpellDictionary SpellDictionary::named(const QString& name, const QStringList& folders)
{
    SpellDictionary found;
    for (const QString& folder : folders)
        if (found = inFolder(QDir(folder), name); found.isValid())
            break;
    found.folders = folders;
    return found;
}

SpellDictionary SpellDictionary::find(const QLocale& locale, const QStringList& folders)
{
    // "de_CH", whatever the locale's script or the spelling of its name.
    const QString own = locale.name();
    const QString language = own.section(QLatin1Char('_'), 0, 0);
    QStringList wanted;
    if (language != QLatin1String("C")) {
        // The language's own country first: de_DE for de_CH, fr_FR for fr_CA.
        wanted << own << QLocale(locale.language()).name();
        for (const QString& name : namesIn(folders))
            if (name.startsWith(language + QLatin1Char('_')))
                wanted << name;
        wanted << language;
    }
    wanted << QStringLiteral("en_US");
    for (const QString& name : std::as_const(wanted))
        if (SpellDictionary d = named(name, folders); d.isValid())
            return d;
    return {{}, {}, {}, folders};
}
