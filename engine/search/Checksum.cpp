#include "search/Checksum.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

TChecksum TChecksum::FromCrc32(uint32_t crc) {
    TChecksum checksum;
    checksum.FKind = TKind::Crc32;
    for (int i = 0; i < 4; ++i)
        checksum.FBytes[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return checksum;
}

TChecksum TChecksum::FromDigest(const std::array<uint8_t, 16>& digest) {
    TChecksum checksum;
    checksum.FKind = TKind::Digest128;
    checksum.FBytes = digest;
    return checksum;
}

TChecksum TChecksum::Unreadable() {
    TChecksum checksum = FromCrc32(0xFFFFFFFFu);
    checksum.FUnreadable = true;
    return checksum;
}

TChecksum TChecksum::Unmatched() {
    TChecksum checksum;
    checksum.FKind = TKind::Unmatched;
    return checksum;
}

std::size_t TChecksum::ByteCount() const {
    switch (FKind) {
    case TKind::Crc32:
        return 4;
    case TKind::Digest128:
        return 16;
    default:
        return 0;
    }
}

std::string TChecksum::Text() const {
    const char* digits = FKind == TKind::Crc32 ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    text.reserve(2 * ByteCount());
    for (std::size_t i = 0; i < ByteCount(); ++i) {
        text += digits[FBytes[i] >> 4];
        text += digits[FBytes[i] & 0x0F];
    }
    return text;
}

bool operator==(const TChecksum& a, const TChecksum& b) {
    return a.FKind == b.FKind && a.FUnreadable == b.FUnreadable &&
           std::memcmp(a.FBytes.data(), b.FBytes.data(), a.ByteCount()) == 0;
}

int TChecksum::CompareNoCase(const TChecksum& other) const {
    const std::size_t mine = ByteCount(), theirs = other.ByteCount();
    if (int c = std::memcmp(FBytes.data(), other.FBytes.data(), std::min(mine, theirs)))
        return c < 0 ? -1 : 1;
    if (mine != theirs)
        return mine < theirs ? -1 : 1;
    return static_cast<int>(FUnreadable) - static_cast<int>(other.FUnreadable);
}

} // namespace quorvane
