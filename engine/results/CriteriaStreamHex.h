#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "results/FilterTree.h"

namespace quorvane {

// Two upper-case hexadecimal digits per byte, no separators.
std::string BytesToHex(std::span<const uint8_t> bytes);
// Accepts upper- and lower-case digits. Throws TFilterError on an odd number of digits or a
// character that is not a digit, naming its position.
std::vector<uint8_t> HexToBytes(std::string_view hex);

// The configuration file reads values of at most 2,047 characters, so a stored filter can hold at
// most this many bytes of criteria; a longer one would be cut short and could not be read back.
constexpr std::size_t kMaxStoredCriteriaBytes = 1023;

// The hex text stored for a filter in the configuration file. Throws TFilterError when the
// criteria need more than kMaxStoredCriteriaBytes bytes, rather than store a text that cannot be
// read back.
std::string EncodeStoredFilter(const TFilterGroup& criteria);
// The criteria of a stored filter's hex text. Throws TFilterError when the text is empty or is not
// the hex form of one well-formed criteria stream.
TFilterGroup DecodeStoredFilter(std::string_view hex);

} // namespace quorvane
