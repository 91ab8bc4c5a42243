#include "results/CriteriaStreamFloat80.h"

#include <cmath>
#include <limits>

namespace quorvane::criteria_stream {
namespace {

constexpr int kExponentBias = 16383;
constexpr uint16_t kMaxExponent = 0x7FFF;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;

std::array<uint8_t, 10> Pack(bool negative, uint16_t exponent, uint64_t significand) {
    std::array<uint8_t, 10> bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(significand >> (8 * i));
    const uint16_t signAndExponent = static_cast<uint16_t>((negative ? 0x8000 : 0) | exponent);
    bytes[8] = static_cast<uint8_t>(signAndExponent);
    bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
    return bytes;
}

} // namespace

std::array<uint8_t, 10> DoubleToFloat80(double value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value))
        return Pack(negative, kMaxExponent, kIntegerBit | (kIntegerBit >> 1));
    if (std::isinf(value))
        return Pack(negative, kMaxExponent, kIntegerBit);
    if (value == 0)
        return Pack(negative, 0, 0);
    int exponent = 0;
    // |value| = fraction * 2^exponent with fraction in [0.5, 1); subnormal doubles come out
    // normalised, and every double is a normal extended value.
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto significand = static_cast<uint64_t>(std::ldexp(fraction, 64));
    return Pack(negative, static_cast<uint16_t>(exponent - 1 + kExponentBias), significand);
}

double Float80ToDouble(const std::array<uint8_t, 10>& bytes) {
    uint64_t significand = 0;
    for (int i = 0; i < 8; ++i)
        significand |= uint64_t{bytes[i]} << (8 * i);
    const uint16_t signAndExponent = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const bool negative = (signAndExponent & 0x8000) != 0;
    const int exponent = signAndExponent & kMaxExponent;
    double magnitude = 0;
    if (exponent == kMaxExponent) {
        magnitude = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                            : std::numeric_limits<double>::quiet_NaN();
    } else {
        // Denormal extended values use the smallest exponent; all are far below double's range.
        const int unbiased = (exponent == 0 ? 1 : exponent) - kExponentBias;
        magnitude = std::ldexp(static_cast<double>(significand), unbiased - 63);
    }
    return negative ? -magnitude : magnitude;
}

} // namespace quorvane::criteria_stream
