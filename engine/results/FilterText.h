#pragma once

#include <string>

#include "results/FilterTree.h"

namespace quorvane {

// A filter in words, as the grid's filter bar shows it: "Name like *.txt or Name like *.doc".
// A condition reads column, operator and its display text (the value's own text when the display
// text is empty); the items of a group are joined by "and" or "or", a nested group stands in
// parentheses, and a NOT group reads "not (...)". Groups without conditions are left out, as the
// evaluator leaves them out; criteria without any condition read as an empty text.
std::string FilterText(const TFilterGroup& criteria);

} // namespace quorvane
