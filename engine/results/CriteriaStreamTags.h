#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::criteria_stream {

// The first four bytes of every stream: the signed 32-bit value -1.
constexpr int32_t kMarker = -1;

// The tag byte in front of each value. Part of the stored format: never renumber.
enum class TValueTag : uint8_t {
    Null = 0,
    List = 1, // element count as an integer value, then the elements
    Int8 = 2, // the smallest of Int8, Int16, Int32 that holds the integer
    Int16 = 3,
    Int32 = 4,
    Extended = 5,  // 80-bit floating point
    ShortText = 6, // 1-byte length, then the bytes: texts of up to 255 bytes
    False = 8,
    True = 9,
    LongText = 12, // 4-byte length, then the bytes
    Unassigned = 13,
    Single = 15,   // 32-bit floating point
    Currency = 16, // 64-bit integer of ten-thousandths
    Date = 17,     // 64-bit floating point, days since 30 December 1899
    WideText = 18, // 4-byte count of UTF-16 code units, then the units
};

constexpr uint8_t kConditionItem = 0;
constexpr uint8_t kGroupItem = 1;

// Deeper nesting of groups or of lists is refused, so that a hostile stream cannot exhaust the
// stack of the recursive reader, writer or evaluator.
constexpr int kMaxNesting = 64;

} // namespace quorvane::criteria_stream
