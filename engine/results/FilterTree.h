#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "results/FilterOperators.h"
#include "results/FilterValue.h"

namespace quorvane {

// The result-row columns a condition can test, numbered by their position in the result row.
// Stored filters hold these numbers.
enum class TFilterColumn : int32_t {
    Name = 1,
    Size = 2,
    Date = 3,
    Path = 4,
};

std::optional<TFilterColumn> FilterColumnFromCode(int32_t code);
// "Name", "Size", "Date" or "Path".
std::string_view FilterColumnName(TFilterColumn column);

// One test on a column, e.g. Name like "*.txt".
struct TFilterCondition {
    TFilterOperator Operator = TFilterOperator::Equal;
    std::string DisplayText; // the value as the user sees it
    TFilterColumn Column = TFilterColumn::Name;
    TFilterValue Value;

    bool operator==(const TFilterCondition&) const = default;
};

struct TFilterItem;

// Items combined by one operator. A filter's criteria are its root group.
struct TFilterGroup {
    TFilterGroupOperator Operator = TFilterGroupOperator::And;
    std::vector<TFilterItem> Items;

    bool operator==(const TFilterGroup&) const = default;
};

struct TFilterItem {
    std::variant<TFilterCondition, TFilterGroup> Node;

    TFilterItem(TFilterCondition condition) : Node(std::move(condition)) {}
    TFilterItem(TFilterGroup group) : Node(std::move(group)) {}

    bool operator==(const TFilterItem&) const = default;
};

} // namespace quorvane
