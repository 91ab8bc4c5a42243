#pragma once

#include <cstddef>
#include <cstdint>
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

// A total order for sorting: the collation order of CompareTextNoCase, then, among texts the
// collator finds equal, valid UTF-8 before invalid and invalid texts by their bytes. Returns 0
// exactly when CompareTextNoCase does. Sorting needs it because CompareTextNoCase's byte
// tie-break alone is not transitive when a valid text collates equal to two invalid ones.
int CompareTextNoCaseForSort(std::string_view a, std::string_view b);

// Eight bytes of the text's collation key under the collator of CompareTextNoCase, from byte
// `offset` on, packed most significant first and padded with zeros past the key's end. Texts
// order as their keys do: compare the parts at offset 0 and, while they tie, the parts at 8,
// 16 ...; a key never holds a 0 byte, so a part whose lowest byte is 0 holds the key's end and
// two texts whose parts tie up to there collate equal. An ill-formed UTF-8 sequence counts as
// U+FFFD, as in CompareTextNoCase. Cheaper than a comparison when a text takes part in many.
uint64_t CollationKeyPart(std::string_view text, std::size_t offset);

// Selects the collation locale by ICU name ("de", "sv_SE", ...). An empty name means the user's
// locale from the environment, the default. Affects every thread from its next comparison.
void SetCollationLocale(const std::string& localeName);

} // namespace quorvane
