#pragma once

#include <functional>
#include <string>

#include "results/FilterError.h"

namespace quorvane::test {

// The message of the filter error the action throws, or "(no error)".
inline std::string ThrownMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const TFilterError& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace quorvane::test
