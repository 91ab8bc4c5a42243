#pragma once

#include <functional>

#include "results/FilterRowValues.h"
#include "results/FilterTree.h"

namespace quorvane {

using TFilterRowTest = std::function<bool(const TFilterRowValues&)>;

// The test one condition makes on a row, with its value converted once for its column. Throws
// TFilterError, naming the condition, when the value does not suit the column or the operator:
// no value where one is needed, a list where one value is needed or the reverse, a text that is
// not a number on Size, a pattern test on Date.
TFilterRowTest CompileFilterCondition(const TFilterCondition& condition);

} // namespace quorvane
