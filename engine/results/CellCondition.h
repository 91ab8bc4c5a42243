#pragma once

#include <optional>

#include "results/FilterTree.h"
#include "results/ResultColumns.h"
#include "search/FilList.h"

namespace quorvane {

// The condition that dragging a cell of `file` into the filter builder adds: the cell's column
// equals the cell's value, with the value's text as display text. Only Name, Size, Date and Path
// can be filtered: other columns (Checked among them) give nothing.
std::optional<TFilterCondition> CellEqualsCondition(TResultColumn column, const TFile& file);

} // namespace quorvane
