#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

// A filter that cannot be read or evaluated: a damaged criteria stream or hex text, or a condition
// whose value does not suit its column or operator. The message says what is wrong and where; the
// caller does not apply the filter.
class TFilterError : public std::runtime_error {
public:
    explicit TFilterError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace quorvane
