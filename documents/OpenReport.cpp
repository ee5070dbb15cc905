#include "documents/OpenReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// A box taller than the screen hides its own OK button: a list names this many files at most.
constexpr qsizetype s_listed = 8;
// Past this many characters a path keeps its end, which names the file.
constexpr qsizetype s_longestPath = 80;

QString tr(const char* text)
{
    return QCoreApplication::translate("OpenReport", text);
}

// A path in a list, which a long one would make wider than the screen.
QString shown(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= s_longestPath)
        return native;
    return QStringLiteral("…") + native.right(s_longestPath - 1);
}

// Where the files are, when they share a folder.
QString where(const QString& folder)
{
    return folder.isEmpty() ? QString() : tr(" in %1").arg(QDir::toNativeSeparators(folder));
}

} // namespace

void OpenReport::failed(const QString& path, const QString& reason)
{
    m_failed.append({path, reason});
}

void OpenReport::lost(const QString& path, const QStringList& losses)
{
    m_lost.append({path, losses.join(QLatin1String(", "))});
}

QString OpenReport::message(qsizetype tried) const
{
    if (m_failed.size() + m_lost.size() == 1)
        return single();
    const QString folder = commonFolder();
    QStringList parts;
    if (!m_failed.isEmpty())
        parts << failedList(tried, folder);
    if (!m_lost.isEmpty())
        parts << lostList(folder);
    return parts.join(QLatin1String("\n\n"));
}

QString OpenReport::single() const
{
    if (!m_failed.isEmpty())
        return tr("Cannot open %1.\n%2")
            .arg(QDir::toNativeSeparators(m_failed[0].path), m_failed[0].text);
    return tr("%1 holds things Quillmere cannot keep: %2. Saving over it would lose them.")
        .arg(QDir::toNativeSeparators(m_lost[0].path), m_lost[0].text);
}

QString OpenReport::failedList(qsizetype tried, const QString& folder) const
{
    const QString files = tried == 1 ? tr("1 file") : tr("%1 files").arg(tried);
    const QString count = m_failed.size() == tried
                              ? tr("any of the %1").arg(files)
                              : tr("%1 of the %2").arg(m_failed.size()).arg(files);
    return tr("Quillmere could not open %1%2:").arg(count, where(folder)) + QLatin1Char('\n') +
           list(m_failed, folder).join(QLatin1Char('\n'));
}

QString OpenReport::lostList(const QString& folder) const
{
    const QString heading =
        m_lost.size() == 1
            ? tr("1 file%1 holds things Quillmere cannot keep, which saving over it would lose:")
                  .arg(where(folder))
            : tr("%1 files%2 hold things Quillmere cannot keep, which saving over them would "
                 "lose:")
                  .arg(m_lost.size())
                  .arg(where(folder));
    return heading + QLatin1Char('\n') + list(m_lost, folder).join(QLatin1Char('\n')) +
           QLatin1Char('\n') + tr("Save As leaves a file as it is.");
}

QStringList OpenReport::list(const QList<Entry>& entries, const QString& folder)
{
    QStringList lines;
    for (const Entry& entry : entries.first(std::min(entries.size(), s_listed))) {
        const QString name =
            folder.isEmpty() ? shown(entry.path) : shown(QFileInfo(entry.path).fileName());
        lines << name + QLatin1String(": ") + entry.text;
    }
    const QList<Entry> rest = entries.mid(s_listed);
    if (rest.isEmpty())
        return lines;
    const bool alike = std::all_of(rest.cbegin(), rest.cend(), [&](const Entry& entry) {
        return entry.text == rest.constFirst().text;
    });
    lines << (alike ? tr("and %1 more: %2").arg(rest.size()).arg(rest.constFirst().text)
                    : tr("and %1 more.").arg(rest.size()));
    return lines;
}

QString OpenReport::commonFolder() const
{
    QString folder;
    for (const QList<Entry>* entries : {&m_failed, &m_lost})
        for (const Entry& entry : *entries) {
            const QString own = QFileInfo(entry.path).absolutePath();
            if (!folder.isEmpty() && own != folder)
                return {};
            folder = own;
        }
    return folder;
}
