#include "search/Masks.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/Utf8.h"

namespace quorvane {
namespace {

char FoldAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The next mask character and the next name character are the same character.
template <bool FoldCase>
bool SameChar(std::string_view a, std::size_t aLength, std::string_view b, std::size_t bLength) {
    if (aLength != bLength)
        return false;
    for (std::size_t i = 0; i < aLength; ++i) {
        const char x = FoldCase ? FoldAsciiLetter(a[i]) : a[i];
        const char y = FoldCase ? FoldAsciiLetter(b[i]) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// The matcher walks name and mask once, remembering only the last "*" passed. On a mismatch
// that "*" takes one more character and the walk resumes right after it. Earlier stars need
// no second chance: whatever they could absorb, the last one can absorb as well, so this gives
// exactly the answers of trying every split recursively, without its exponential cost.
template <bool FoldCase> bool Match(std::string_view name, std::string_view mask) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t n = 0, m = 0;
    std::size_t afterStar = kNone; // mask position right after the last "*" passed
    std::size_t starTaken = 0;     // name position where that "*" stops for now
    for (;;) {
        if (n == name.size()) {
            // The name is used up: only stars may remain.
            return std::all_of(mask.begin() + static_cast<std::ptrdiff_t>(m), mask.end(),
                               [](char c) { return c == '*'; });
        }
        if (m < mask.size()) {
            if (mask[m] == '*') {
                afterStar = ++m;
                starTaken = n;
                if (afterStar == mask.size())
                    return true; // a final "*" takes the rest of the name
                continue;
            }
            const std::size_t nameChar = Utf8CharLength(name, n);
            if (mask[m] == '?') {
                ++m;
                n += nameChar;
                continue;
            }
            const std::size_t maskChar = Utf8CharLength(mask, m);
            if (SameChar<FoldCase>(mask.substr(m), maskChar, name.substr(n), nameChar)) {
                m += maskChar;
                n += nameChar;
                continue;
            }
        }
        if (afterStar == kNone)
            return false;
        starTaken += Utf8CharLength(name, starTaken);
        n = starTaken;
        m = afterStar;
    }
}

} // namespace

bool WildcardMatch(std::string_view name, std::string_view mask) {
    return Match<false>(name, mask);
}

bool MaskMatch(std::string_view name, std::string_view mask) {
    if (mask == "*")
        return name.find('.') == std::string_view::npos;
    if (mask == "*.*")
        return true;
    return Match<true>(name, mask);
}

void CheckMaskLength(std::string_view mask) {
    constexpr std::size_t kQuotedChars = 40;
    std::size_t chars = 0, quotedBytes = 0;
    for (std::size_t pos = 0; pos < mask.size(); pos += Utf8CharLength(mask, pos)) {
        if (++chars == kQuotedChars)
            quotedBytes = pos + Utf8CharLength(mask, pos);
    }
    if (chars <= kMaxMaskLength)
        return;
    throw std::invalid_argument("The file mask \"" + std::string(mask.substr(0, quotedBytes)) +
                                "...\" is longer than " + std::to_string(kMaxMaskLength) +
                                " characters.");
}

} // namespace quorvane
