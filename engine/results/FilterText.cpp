#include "results/FilterText.h"

#include <vector>

namespace quorvane {
namespace {

std::string ConditionText(const TFilterCondition& condition) {
    std::string text = std::string(FilterColumnName(condition.Column)) + " " +
                       std::string(FilterOperatorName(condition.Operator));
    if (condition.Operator == TFilterOperator::IsEmpty ||
        condition.Operator == TFilterOperator::IsNotEmpty)
        return text;
    const std::string value =
        condition.DisplayText.empty() ? FilterValueToText(condition.Value) : condition.DisplayText;
    return value.empty() ? text : text + " " + value;
}

// The group's items in words, without the parentheses around the whole.
std::string GroupText(const TFilterGroup& group, bool& negated) {
    std::vector<std::string> parts;
    for (const TFilterItem& item : group.Items) {
        if (const auto* condition = std::get_if<TFilterCondition>(&item.Node)) {
            parts.push_back(ConditionText(*condition));
            continue;
        }
        bool innerNegated = false;
        const std::string inner = GroupText(std::get<TFilterGroup>(item.Node), innerNegated);
        if (!inner.empty())
            parts.push_back((innerNegated ? "not (" : "(") + inner + ")");
    }
    const bool any =
        group.Operator == TFilterGroupOperator::Or || group.Operator == TFilterGroupOperator::NotOr;
    negated = group.Operator == TFilterGroupOperator::NotAnd ||
              group.Operator == TFilterGroupOperator::NotOr;
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : any ? " or " : " and ") + part;
    return text;
}

} // namespace

std::string FilterText(const TFilterGroup& criteria) {
    bool negated = false;
    const std::string text = GroupText(criteria, negated);
    if (text.empty() || !negated)
        return text;
    return "not (" + text + ")";
}

} // namespace quorvane
