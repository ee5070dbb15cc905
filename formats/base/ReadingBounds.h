#pragma once

/// How large the readers let a list or a table grow before going on with another, alike: Qt's
/// own work on them grows faster than their size, so an endless one would make reading
/// quadratic.
namespace ReadingBounds {

/// Qt revisits every block of a list when one joins it. Bullets look the same split across
/// lists; numbers restart with each list, so numbered lists are split only when very long.
constexpr int listLength = 64;
constexpr int numberedListLength = 256;
/// Qt lays a table's grid out again after each row or column it gains: longer tables go on as
/// another, and further cells join a row's last.
constexpr int tableRows = 256;
constexpr int tableColumns = 63;

} // namespace ReadingBounds
