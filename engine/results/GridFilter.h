#pragma once

#include <string>

#include "results/BatchWork.h"
#include "results/FilterTree.h"
#include "results/ResultGrid.h"

namespace quorvane {

// The filter of the results grid: the criteria last applied and whether the filter is on. The
// filter bar shows the criteria in words with a check box that switches the filter off and on;
// switching keeps the criteria, and new results keep the filter. Every change ends with the
// grid's summary step, so the summary and the checked list follow the rows that pass.
class TGridFilter {
public:
    explicit TGridFilter(TResultGrid& grid) : FGrid(grid) {}

    // Applies the criteria and switches the filter on; criteria without any condition show every
    // row. Throws TFilterError, naming the condition, when a condition cannot be used: the grid
    // and this filter then stay as they were.
    void Apply(const TFilterGroup& criteria, const TPump& pump = {});
    // Switches the filter off (every row shows) or on again with its criteria.
    void SetActive(bool active, const TPump& pump = {});

    bool Active() const { return FActive; }
    // Whether there is a filter to show: applied criteria with at least one condition.
    bool HasFilter() const { return static_cast<bool>(FPredicate); }
    const TFilterGroup& Criteria() const { return FCriteria; }
    // The filter in words (FilterText).
    std::string Text() const;

private:
    TResultGrid& FGrid;
    TFilterGroup FCriteria;
    TRowPredicate FPredicate;
    bool FActive = false;
};

} // namespace quorvane
