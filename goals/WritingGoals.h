#pragma once

#include "goals/WritingHistory.h"

#include <QString>

class QSettings;

/// What the writer means to write: a daily goal in words or minutes, a goal for the session,
/// and how much of the daily goal makes a day of the streak.
struct WritingGoals
{
    enum class Unit { Words, Minutes };

    Unit unit = Unit::Words;
    qint64 daily = 1000;
    /// Words for this run of the program; 0 for none.
    qint64 session = 0;
    /// The part of the daily goal, in percent, that a day needs to keep the streak.
    int streakPercent = 100;

    /// Consecutive days that kept the streak: those up to today, or up to yesterday while today
    /// has not kept it yet; and the longest such run ever.
    struct Streak
    {
        int current = 0;
        int longest = 0;
    };

    /// How far day went towards the daily goal, in the goal's unit.
    qint64 progress(const WritingHistory::Day& day) const;
    bool keepsStreak(const WritingHistory::Day& day) const;
    Streak streak(const WritingHistory::Days& days, QDate today) const;

    /// "412 of 1,000 words today".
    QString describe(const WritingHistory::Day& today) const;

    static WritingGoals load(QSettings& settings);
    void save(QSettings& settings) const;

    friend bool operator==(const WritingGoals&, const WritingGoals&) = default;
};
