#pragma once

#include "results/FilterTree.h"
#include "results/ResultView.h"

namespace quorvane {

// The grid's row test for a filter's criteria: each row's Name, Size, Date and Path go through one
// TFilterEvaluator. Criteria without any condition give the empty predicate, so every row shows
// and nothing is tested. Throws TFilterError, naming the condition, when a condition cannot be
// used; nothing has been applied then.
TRowPredicate FilterRowPredicate(const TFilterGroup& criteria);

} // namespace quorvane
