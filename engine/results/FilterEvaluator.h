#pragma once

#include "results/FilterCondition.h"
#include "results/FilterRowValues.h"
#include "results/FilterTree.h"

namespace quorvane {

// A filter's criteria made ready to test result rows.
//
// Groups combine their items with AND (all pass), OR (any passes), NOT AND (not all pass) or
// NOT OR (none passes), stopping at the first item that decides. A group without conditions,
// however deep, imposes nothing: it is left out of its parent, and a filter whose root holds no
// conditions passes every row.
//
// Building it converts every condition's value once and throws TFilterError, naming the first
// condition that cannot be used, so a filter is either usable as a whole or not applied at all.
// Testing is read-only: one evaluator may test rows on several threads at once.
class TFilterEvaluator {
public:
    TFilterEvaluator() = default; // passes every row
    explicit TFilterEvaluator(const TFilterGroup& criteria);

    // The criteria hold no condition: every row passes.
    bool PassesAll() const { return !FTest; }
    bool Passes(const TFilterRowValues& row) const { return !FTest || FTest(row); }

private:
    TFilterRowTest FTest;
};

} // namespace quorvane
