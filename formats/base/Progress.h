#pragma once

#include <QtGlobal>

#include <functional>

/// Told now and then how far long work has come: done of total units, whatever the unit. It may
/// throw ProgressCancelled to stop the work.
using Progress = std::function<void(qint64 done, qint64 total)>;

/// What a Progress throws when the writer cancels the work it hears from. Work lets it pass,
/// and leaves nothing half made behind: what it was making is dropped.
struct ProgressCancelled
{
};

/// The share of whole, from percent `from` to percent `to`, that one step of longer work fills.
inline Progress progressPart(const Progress& whole, int from, int to)
{
    if (!whole)
        return {};
    return
        [=](qint64 done, qint64 total) { whole(from * total + (to - from) * done, 100 * total); };
}
