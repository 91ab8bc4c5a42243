#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Text comparison without regard to letter case under the user's locale (an ICU collator at
// secondary strength: case ignored, accents kept). Texts are UTF-8 byte strings; where either
// is not valid UTF-8 and the collator finds them equal, the raw bytes decide, so two different
// undecodable names never compare equal.
//
// Safe to call from any thread.

// Returns -1, 0 or +1.
int CompareTextNoCase(std::string_view a, std::string_view b);
inline bool SameTextNoCase(std::string_view a, std::string_view b) {
    return CompareTextNoCase(a, b) == 0;
}

// Selects the collation locale by ICU name ("de", "sv_SE", ...). An empty name means the user's
// locale from the environment, the default. Affects every thread from its next comparison.
void SetCollationLocale(const std::string& localeName);

} // namespace quorvane
