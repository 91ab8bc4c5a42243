#pragma once

#include <string_view>

namespace quorvane {

// Whether a spreadsheet would take the value for a formula when it reads it from a text file: it
// starts with "=", "+", "-", "@", a tab or a carriage return.
inline bool StartsLikeFormula(std::string_view value) {
    return !value.empty() &&
           std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos;
}

} // namespace quorvane
