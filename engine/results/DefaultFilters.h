#pragma once

#include <string>
#include <vector>

namespace quorvane {

// A named result filter as the configuration file stores it: its criteria stream as hex text.
struct TNamedFilterText {
    std::string Name;
    std::string CriteriaHex;
};

// The five filters written at every start when missing, in the order they are written.
const std::vector<TNamedFilterText>& DefaultFilters();

} // namespace quorvane
