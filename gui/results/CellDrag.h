#pragma once

#include <optional>

#include "results/FilterTree.h"

class QMimeData;

namespace quorvane {

// The payload of a cell dragged from the results grid into the filter builder: the condition it
// adds (column position and value), as a criteria stream of that one condition under its own
// type, so that no other program's drop is taken for it.
QMimeData* CellDragData(const TFilterCondition& condition);
// The condition a drop carries; none when the data is not a dragged cell.
std::optional<TFilterCondition> DroppedCellCondition(const QMimeData& data);
bool CarriesCell(const QMimeData& data);

} // namespace quorvane
