#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "results/BatchWork.h"
#include "results/DisplayOrder.h"
#include "results/ResultColumns.h"

namespace quorvane {

// One group row: a run of displayed rows that share the values of the grouping columns down to
// its level. Group rows are always expanded.
struct TGroupRow {
    uint32_t Record = 0;     // the first displayed row under it, whose value the group row shows
    uint32_t Parent = 0;     // index of the enclosing group row one level up (unused at level 0)
    uint32_t FirstChild = 0; // children: group rows of the next level, or, at the innermost
    uint32_t ChildCount = 0; // level, displayed rows (positions in the list of passing rows)
};

// The group rows over the passing rows, level by level. The children of a group row are
// consecutive, so a tree model can address them by range.
class TGroupTree {
public:
    // Builds the group rows over `passing` (record indexes in display order) for the grouping
    // levels of `order`. Without grouping levels there are no group rows.
    void Build(const TDisplayOrder& order, const std::vector<uint32_t>& passing,
               const TPump& pump = {});

    std::size_t LevelCount() const { return FLevels.size(); }
    TResultColumn Column(std::size_t level) const { return FColumns[level]; }
    // The group rows of a level in display order.
    const std::vector<TGroupRow>& Level(std::size_t level) const { return FLevels[level]; }
    // The innermost group row (an index into the last level) that holds the displayed row at
    // this position. Only meaningful when there are levels.
    uint32_t GroupOfRow(std::size_t position) const;

private:
    std::vector<TResultColumn> FColumns;
    std::vector<std::vector<TGroupRow>> FLevels;
};

} // namespace quorvane
