#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSettings;
class RandomGenerator;

/// The writer's seed files: those read lately, and those kept to be mixed, each with a weight
/// and a tick saying whether it takes part. Kept in the settings.
class SeedLibrary
{
public:
    struct Seed
    {
        QString path;
        /// How often it is drawn against the others, from minWeight to maxWeight.
        int weight = 5;
        bool active = true;

        friend bool operator==(const Seed&, const Seed&) = default;
    };

    static constexpr int maxRecent = 9;
    static constexpr int minWeight = 1;
    static constexpr int maxWeight = 10;
    static constexpr int defaultMemory = 20;

    QList<Seed> seeds;
    /// The files read last, the latest first.
    QStringList recent;
    /// Whether runs avoid starting on the words the last memory runs started on.
    bool noRepeats = false;
    int memory = defaultMemory;

    /// Puts path first among the recent files.
    void addRecent(const QString& path);
    bool hasActive() const;
    /// The index in seeds of an active seed not among left out, each drawn as often as its
    /// weight says; -1 when there is none.
    int draw(RandomGenerator& random, const QList<int>& leftOut = {}) const;

    void load(QSettings& settings);
    void save(QSettings& settings) const;

    friend bool operator==(const SeedLibrary&, const SeedLibrary&) = default;
};
