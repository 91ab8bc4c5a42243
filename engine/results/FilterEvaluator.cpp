#include "results/FilterEvaluator.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

// The test of a group, or an empty test when the group holds no condition at any depth.
TFilterRowTest CompileGroup(const TFilterGroup& group) {
    std::vector<TFilterRowTest> tests;
    for (const TFilterItem& item : group.Items) {
        TFilterRowTest test = std::holds_alternative<TFilterCondition>(item.Node)
                                  ? CompileFilterCondition(std::get<TFilterCondition>(item.Node))
                                  : CompileGroup(std::get<TFilterGroup>(item.Node));
        if (test)
            tests.push_back(std::move(test));
    }
    if (tests.empty())
        return {};
    const bool any =
        group.Operator == TFilterGroupOperator::Or || group.Operator == TFilterGroupOperator::NotOr;
    const bool negated = group.Operator == TFilterGroupOperator::NotAnd ||
                         group.Operator == TFilterGroupOperator::NotOr;
    return [tests = std::move(tests), any, negated](const TFilterRowValues& row) {
        const auto passes = [&row](const TFilterRowTest& test) { return test(row); };
        const bool result = any ? std::any_of(tests.begin(), tests.end(), passes)
                                : std::all_of(tests.begin(), tests.end(), passes);
        return result != negated;
    };
}

} // namespace

TFilterEvaluator::TFilterEvaluator(const TFilterGroup& criteria) : FTest(CompileGroup(criteria)) {}

} // namespace quorvane
