#include "platform/HexText.h"

namespace quorvane {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void AppendHex(std::string& out, uint64_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kUpperHexDigits[(value >> shift) & 0x0F];
}

void AppendPercentByte(std::string& out, unsigned char byte) {
    out += '%';
    AppendHex(out, byte, 2);
}

std::optional<char> PercentByteAt(std::string_view text) {
    if (text.size() < 3 || text[0] != '%')
        return std::nullopt;
    const int high = HexDigitValue(text[1]), low = HexDigitValue(text[2]);
    if (high < 0 || low < 0)
        return std::nullopt;
    return static_cast<char>(high << 4 | low);
}

} // namespace quorvane
