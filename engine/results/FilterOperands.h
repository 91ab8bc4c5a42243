#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "results/FilterValue.h"

namespace quorvane {

// A condition's value turned into what a column's values are compared with. Each conversion
// throws TFilterError saying why when the value does not suit the column.

// Sizes compare as 64-bit integers; a fractional value (from a floating-point or currency value)
// is kept as a real number and compared exactly.
struct TSizeOperand {
    bool IsWhole = true;
    int64_t Whole = 0;
    double Real = 0;
};
TSizeOperand SizeOperand(const TFilterValue& value);
// -1, 0 or +1 as `size` is less than, equal to or greater than the operand.
int CompareSize(int64_t size, const TSizeOperand& operand);

// Dates compare in whole seconds, so that a date read back from a stream equals the row's date
// whatever rounding the day fraction went through. Accepts dates, day numbers, and texts of the
// form "YYYY-MM-DD" or "YYYY-MM-DD HH:MM[:SS]".
int64_t DateOperandSeconds(const TFilterValue& value);
int64_t DateSeconds(TDateTime date);

// Text compares without regard to case; any single value has a text form.
std::string TextOperand(const TFilterValue& value);

} // namespace quorvane
