#include "seed/SeedLibrary.h"

#include "seed/RandomGenerator.h"

#include <QSettings>

#include <algorithm>

namespace {

const char* const group = "Seeds";

} // namespace

void SeedLibrary::addRecent(const QString& path)
{
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > maxRecent)
        recent.removeLast();
}

bool SeedLibrary::hasActive() const
{
    return std::any_of(seeds.cbegin(), seeds.cend(), [](const Seed& seed) { return seed.active; });
}

int SeedLibrary::draw(RandomGenerator& random, const QList<int>& leftOut) const
{
    const auto drawable = [&](qsizetype index) {
        return seeds[index].active && !leftOut.contains(int(index));
    };
    int total = 0;
    for (qsizetype index = 0; index < seeds.size(); ++index)
        total += drawable(index) ? seeds[index].weight : 0;
    if (total == 0)
        return -1;
    double left = double(random.draw()) * total;
    for (qsizetype index = 0; index < seeds.size(); ++index) {
        if (!drawable(index))
            continue;
        left -= seeds[index].weight;
        if (left < 0)
            return int(index);
    }
    // Rounding may leave a sliver past the last one.
    for (qsizetype index = seeds.size() - 1; index >= 0; --index)
        if (drawable(index))
            return int(index);
    return -1;
}

void SeedLibrary::load(QSettings& settings)
{
    settings.beginGroup(QLatin1String(group));
    recent = settings.value(QStringLiteral("Recent")).toStringList().mid(0, maxRecent);
    noRepeats = settings.value(QStringLiteral("NoRepeats"), false).toBool();
    memory = std::clamp(settings.value(QStringLiteral("Memory"), defaultMemory).toInt(), 1, 1000);
    seeds.clear();
    const int count = settings.beginReadArray(QStringLiteral("Library"));
    for (int index = 0; index < count; ++index) {
        settings.setArrayIndex(index);
        Seed seed;
        seed.path = settings.value(QStringLiteral("Path")).toString();
        seed.weight =
            std::clamp(settings.value(QStringLiteral("Weight"), 5).toInt(), minWeight, maxWeight);
        seed.active = settings.value(QStringLiteral("Active"), true).toBool();
        if (!seed.path.isEmpty())
            seeds << seed;
    }
    settings.endArray();
    settings.endGroup();
}

void SeedLibrary::save(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(group));
    settings.setValue(QStringLiteral("Recent"), recent);
    settings.setValue(QStringLiteral("NoRepeats"), noRepeats);
    settings.setValue(QStringLiteral("Memory"), memory);
    settings.remove(QStringLiteral("Library"));
    settings.beginWriteArray(QStringLiteral("Library"), int(seeds.size()));
    for (int index = 0; index < seeds.size(); ++index) {
        settings.setArrayIndex(index);
        settings.setValue(QStringLiteral("Path"), seeds[index].path);
        settings.setValue(QStringLiteral("Weight"), seeds[index].weight);
        settings.setValue(QStringLiteral("Active"), seeds[index].active);
    }
    settings.endArray();
    settings.endGroup();
}
