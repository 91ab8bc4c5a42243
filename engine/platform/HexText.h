#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Hexadecimal text as the stored formats (files lists, the configuration file, filters) write it:
// upper-case digits, either case read.
inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// The value of one hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

// Appends `value` as exactly `digits` upper-case hexadecimal digits (the low ones).
void AppendHex(std::string& out, uint64_t value, int digits);

// Appends "%XX" for the byte: how names that a format cannot carry as they are get written.
void AppendPercentByte(std::string& out, unsigned char byte);
// Appends the text with "%", every byte of a sequence that is not UTF-8, and every ASCII byte of
// `alsoEscaped` written as "%XX": the exact bytes of a name in a form that UTF-8 text can carry.
void AppendPercentEscaped(std::string& out, std::string_view text,
                          std::string_view alsoEscaped = {});
// The byte that "%XX" at the start of `text` stands for, or none when the text does not start so.
std::optional<char> PercentByteAt(std::string_view text);

} // namespace quorvane
