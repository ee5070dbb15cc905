#pragma once

#include <QtGlobal>

#include <functional>

/// Told now and then how far long work has come: done of total units, whatever the unit.
using Progress = std::function<void(qint64 done, qint64 total)>;

/// The share of whole, from percent `from` to percent `to`, that one step of longer work fills.
inline Progress progressPart(const Progress& whole, int from, int to)
{
    if (!whole)
        return {};
    return
        [=](qint64 done, qint64 total) { whole(from * total + (to - from) * done, 100 * total); };
}
