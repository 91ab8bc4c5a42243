#pragma once

#include <array>
#include <cstdint>

namespace quorvane::criteria_stream {

// The 80-bit extended floating-point form (1 sign bit, 15-bit exponent, 64-bit significand with an
// explicit integer bit), little-endian, computed by hand so that the format does not depend on the
// host's long double.
std::array<uint8_t, 10> DoubleToFloat80(double value);
// Rounds to the nearest double; values beyond its range become infinite or zero.
double Float80ToDouble(const std::array<uint8_t, 10>& bytes);

} // namespace quorvane::criteria_stream
