#pragma once

#include <cstddef>
#include <string_view>

namespace quorvane {

// File names are byte strings: most are UTF-8, some are not. These read them as UTF-8 where they
// are, and take a byte that starts no valid sequence as one character of its own.

bool IsValidUtf8(std::string_view text);

// The length in bytes of the character that starts at `pos` (pos < text.size()): a whole UTF-8
// sequence, or 1 for a stray byte.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

} // namespace quorvane
