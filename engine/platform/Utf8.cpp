#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>

#include <unicode/utf8.h>

namespace quorvane {

bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    if (static_cast<unsigned char>(text[pos]) < 0x80)
        return 1;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + pos);
    const int32_t available = static_cast<int32_t>(std::min<std::size_t>(text.size() - pos, 4));
    int32_t length = 0;
    UChar32 c;
    U8_NEXT(bytes, length, available, c);
    return c < 0 ? 1 : static_cast<std::size_t>(length);
}

} // namespace quorvane
