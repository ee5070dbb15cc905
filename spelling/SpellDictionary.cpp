#include "spelling/SpellDictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

SpellDictionary named(const QDir& folder, const QString& name)
{
    const QString affix = folder.filePath(name + QLatin1String(".aff"));
    const QString words = folder.filePath(name + QLatin1String(".dic"));
    if (!QFileInfo(affix).isFile() || !QFileInfo(words).isFile())
        return {{}, {}, {}, folder.path()};
    return {affix, words, name, folder.path()};
}

} // namespace

SpellDictionary SpellDictionary::find(const QLocale& locale, const QString& folder)
{
    const QDir dir(folder);
    // "de_CH", whatever the locale's script or the spelling of its name.
    const QString own = locale.name();
    const QString language = own.section(QLatin1Char('_'), 0, 0);
    if (language != QLatin1String("C")) {
        // The language's own country first: de_DE for de_CH, fr_FR for fr_CA.
        for (const QString& name : {own, QLocale(locale.language()).name()})
            if (SpellDictionary d = named(dir, name); d.isValid())
                return d;
        const QStringList sameLanguage =
            dir.entryList({language + QLatin1String("_*.aff")}, QDir::Files, QDir::Name);
        for (const QString& file : sameLanguage)
            if (SpellDictionary d = named(dir, QFileInfo(file).completeBaseName()); d.isValid())
                return d;
        if (SpellDictionary d = named(dir, language); d.isValid())
            return d;
    }
    return named(dir, QStringLiteral("en_US"));
}
