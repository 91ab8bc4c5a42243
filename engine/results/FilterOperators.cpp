#include "results/FilterOperators.h"

#include <array>

namespace quorvane {
namespace {

struct TOperatorName {
    TFilterOperator Operator;
    std::string_view Name;
};

// In code order, so that a code is also its index.
constexpr std::array kOperatorNames = {
    TOperatorName{TFilterOperator::Equal, "equals"},
    TOperatorName{TFilterOperator::NotEqual, "does not equal"},
    TOperatorName{TFilterOperator::Less, "is less than"},
    TOperatorName{TFilterOperator::LessEqual, "is less than or equal to"},
    TOperatorName{TFilterOperator::Greater, "is greater than"},
    TOperatorName{TFilterOperator::GreaterEqual, "is greater than or equal to"},
    TOperatorName{TFilterOperator::Like, "like"},
    TOperatorName{TFilterOperator::NotLike, "not like"},
    TOperatorName{TFilterOperator::Between, "is between"},
    TOperatorName{TFilterOperator::NotBetween, "is not between"},
    TOperatorName{TFilterOperator::InList, "is in list"},
    TOperatorName{TFilterOperator::NotInList, "is not in list"},
    TOperatorName{TFilterOperator::Contains, "contains"},
    TOperatorName{TFilterOperator::NotContains, "does not contain"},
    TOperatorName{TFilterOperator::BeginsWith, "begins with"},
    TOperatorName{TFilterOperator::EndsWith, "ends with"},
    TOperatorName{TFilterOperator::IsEmpty, "is empty"},
    TOperatorName{TFilterOperator::IsNotEmpty, "is not empty"},
};

constexpr bool CodesMatchPositions() {
    for (std::size_t i = 0; i < kOperatorNames.size(); ++i)
        if (static_cast<std::size_t>(kOperatorNames[i].Operator) != i)
            return false;
    return true;
}
static_assert(CodesMatchPositions(), "operator names must be listed in code order, without gaps");

} // namespace

std::optional<TFilterOperator> FilterOperatorFromCode(uint8_t code) {
    if (code >= kOperatorNames.size())
        return std::nullopt;
    return kOperatorNames[code].Operator;
}

std::string_view FilterOperatorName(TFilterOperator op) {
    return kOperatorNames[static_cast<std::size_t>(op)].Name;
}

std::optional<TFilterGroupOperator> FilterGroupOperatorFromCode(uint8_t code) {
    if (code > static_cast<uint8_t>(TFilterGroupOperator::NotOr))
        return std::nullopt;
    return static_cast<TFilterGroupOperator>(code);
}

} // namespace quorvane
