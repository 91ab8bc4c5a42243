#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// File names are byte strings: most are UTF-8, some are not. These read them as UTF-8 where they
// are, and read what is not as ill-formed pieces.

// The character that starts at `pos` (pos < text.size()): its length in bytes and its code point,
// or a code point of -1 for an ill-formed piece. A piece is the longest start of a sequence that
// could still have become valid, or one byte; each stands for one U+FFFD, as ICU reads text.
struct TUtf8Char {
    std::size_t Length;
    int32_t CodePoint;
    bool Valid() const { return CodePoint >= 0; }
};
TUtf8Char Utf8CharAt(std::string_view text, std::size_t pos);

bool IsValidUtf8(std::string_view text);

// The length in bytes of the character that starts at `pos` (pos < text.size()): a whole UTF-8
// sequence, or 1 for a byte that starts none (each stray byte counts as a character of its own).
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

// Appends the text with each ill-formed piece replaced by U+FFFD, for formats that must be
// Unicode.
void AppendValidUtf8(std::string& out, std::string_view text);

// Appends the code point encoded as UTF-8.
void AppendUtf8(std::string& out, int32_t codePoint);

// Calls `visit` with the code point of every character in turn, U+FFFD for each ill-formed piece.
template <class Visit> void ForEachCodePoint(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            visit(static_cast<int32_t>(byte));
            ++i;
            continue;
        }
        const TUtf8Char c = Utf8CharAt(text, i);
        visit(c.Valid() ? c.CodePoint : int32_t{0xFFFD});
        i += c.Length;
    }
}

} // namespace quorvane
