#pragma once

#include <cstddef>
#include <string_view>

namespace quorvane {

// File masks: "*" stands for any run of characters (also none), "?" for exactly one character,
// every other character for itself. Names and masks are byte strings; a character is one
// UTF-8 sequence, so "?" matches "é" as a user expects. A byte that does not start a valid
// sequence counts as a character of its own, so a name that is not valid UTF-8 still matches.

constexpr std::size_t kMaxMaskLength = 255; // characters

// Whether the name matches the mask. "*" alone matches names without any "."; "*.*" matches
// every name; other masks compare with the letters a to z folded to upper case (no other
// letter is folded) through WildcardMatch.
bool MaskMatch(std::string_view name, std::string_view mask);

// The wildcard comparison behind MaskMatch, exact in every byte. Runs in O(name x mask) time
// at worst and in about linear time for usual masks, however many "*" the mask holds.
bool WildcardMatch(std::string_view name, std::string_view mask);

// Masks longer than kMaxMaskLength characters are refused: throws std::invalid_argument with
// a message that quotes the mask. Cutting one would silently search for something else.
void CheckMaskLength(std::string_view mask);

} // namespace quorvane
