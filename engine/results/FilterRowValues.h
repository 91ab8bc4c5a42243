#pragma once

#include <cstdint>
#include <string_view>

#include "platform/DateTime.h"

namespace quorvane {

// The values of one result row that filter conditions can test. The views must stay valid while
// the row is tested.
struct TFilterRowValues {
    std::string_view Name;
    int64_t Size = 0;
    TDateTime Date = 0;
    std::string_view Path; // the folder, ending with "/"
};

} // namespace quorvane
