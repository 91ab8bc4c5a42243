#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane {

// The comparison of a condition, with the number that criteria streams store for it. Stored
// filters in users' configuration files depend on these numbers: never renumber, reuse or remove
// one; a new operator takes the next free number.
enum class TFilterOperator : uint8_t {
    Equal = 0,
    NotEqual = 1,
    Less = 2,
    LessEqual = 3,
    Greater = 4,
    GreaterEqual = 5,
    Like = 6,
    NotLike = 7,
    Between = 8,
    NotBetween = 9,
    InList = 10,
    NotInList = 11,
    Contains = 12,
    NotContains = 13,
    BeginsWith = 14,
    EndsWith = 15,
    IsEmpty = 16,
    IsNotEmpty = 17,
};

// The operator stored as `code`, or nothing when no operator has that number.
std::optional<TFilterOperator> FilterOperatorFromCode(uint8_t code);

// A short lower-case name for messages ("equals", "like", "is between" ...).
std::string_view FilterOperatorName(TFilterOperator op);

// How the items of a group combine, with the number that criteria streams store for it.
enum class TFilterGroupOperator : uint8_t {
    And = 0,
    Or = 1,
    NotAnd = 2,
    NotOr = 3,
};

std::optional<TFilterGroupOperator> FilterGroupOperatorFromCode(uint8_t code);

} // namespace quorvane
