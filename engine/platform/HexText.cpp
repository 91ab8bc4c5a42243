#include "platform/HexText.h"

#include "platform/Utf8.h"

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

void AppendPercentEscaped(std::string& out, std::string_view text, std::string_view alsoEscaped) {
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Char c = Utf8CharAt(text, i);
        const bool escaped =
            !c.Valid() || c.CodePoint == '%' ||
            (c.CodePoint < 0x80 &&
             alsoEscaped.find(static_cast<char>(c.CodePoint)) != std::string_view::npos);
        if (escaped)
            for (std::size_t k = i; k < i + c.Length; ++k)
                AppendPercentByte(out, static_cast<unsigned char>(text[k]));
        else
            out.append(text.substr(i, c.Length));
        i += c.Length;
    }
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
