#pragma once

#include <vector>

#include "results/FilterOperators.h"
#include "results/FilterTree.h"

namespace quorvane {

// The operators a condition editor offers for a column, in code order: every operator for Name
// and Path; for Size all but the emptiness tests (every file has a size); for Date neither those
// nor the text patterns, which cannot test a date.
std::vector<TFilterOperator> FilterOperatorsFor(TFilterColumn column);

// Whether the operator matches a text pattern (like, contains, begins with ...): its value is text
// whatever the column.
bool IsTextPatternOperator(TFilterOperator op);

// What an operator compares with: nothing (the emptiness tests), one value, the two bounds of
// "between", or the values of "in list".
enum class TFilterOperands { None, One, Two, List };
TFilterOperands FilterOperandsOf(TFilterOperator op);

} // namespace quorvane
