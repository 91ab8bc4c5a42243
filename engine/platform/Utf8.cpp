#include "platform/Utf8.h"

#include <unicode/utf8.h>

namespace quorvane {

TUtf8Char Utf8CharAt(std::string_view text, std::size_t pos) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + pos);
    if (bytes[0] < 0x80)
        return {1, bytes[0]};
    // A sequence is at most four bytes long: no need to pass the rest of a long text.
    const auto available = static_cast<int32_t>(text.size() - pos < 4 ? text.size() - pos : 4);
    int32_t length = 0;
    UChar32 c;
    U8_NEXT(bytes, length, available, c);
    return {static_cast<std::size_t>(length), c < 0 ? -1 : c};
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i; // most names are ASCII: no call per byte for them
            continue;
        }
        const TUtf8Char c = Utf8CharAt(text, i);
        if (!c.Valid())
            return false;
        i += c.Length;
    }
    return true;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    const TUtf8Char c = Utf8CharAt(text, pos);
    return c.Valid() ? c.Length : 1;
}

void AppendUtf8(std::string& out, int32_t codePoint) {
    char bytes[4];
    int32_t length = 0;
    U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(bytes), length, codePoint);
    out.append(bytes, static_cast<std::size_t>(length));
}

void AppendValidUtf8(std::string& out, std::string_view text) {
    if (IsValidUtf8(text)) {
        out.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Char c = Utf8CharAt(text, i);
        if (c.Valid())
            out.append(text.substr(i, c.Length));
        else
            out.append("\xEF\xBF\xBD");
        i += c.Length;
    }
}

} // namespace quorvane
