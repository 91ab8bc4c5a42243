#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvane {

// The checksum text of a file record, held as bytes so that a record stays small.
// Its text is empty until computed, 8 upper-case hex digits for a CRC-32, 32 lower-case hex
// digits for an MD4 or MD5 digest. A file that could not be read carries the text "FFFFFFFF"
// and the unreadable mark, which keeps it apart from a readable file whose CRC-32 is FFFFFFFF.
// A file whose first bytes differ from those of every file it could match carries the unmatched
// mark instead of a checksum: it has no text, sorts as an empty checksum and is in no group.
class TChecksum {
public:
    TChecksum() = default;
    static TChecksum FromCrc32(uint32_t crc);
    static TChecksum FromDigest(const std::array<uint8_t, 16>& digest);
    static TChecksum Unreadable();
    static TChecksum Unmatched();

    bool Empty() const { return FKind == TKind::None; }
    bool IsUnreadable() const { return FUnreadable; }
    bool IsUnmatched() const { return FKind == TKind::Unmatched; }
    // A checksum computed from the file's contents (or the unreadable one).
    bool Known() const { return FKind == TKind::Crc32 || FKind == TKind::Digest128; }
    std::string Text() const;

    // Identical texts (and the same readability).
    friend bool operator==(const TChecksum& a, const TChecksum& b);
    // Orders as the texts compare without regard to case: hex digits order as their bytes.
    // Returns -1, 0 or +1; a readable text sorts before an unreadable one with the same text.
    int CompareNoCase(const TChecksum& other) const;

private:
    enum class TKind : uint8_t { None, Crc32, Digest128, Unmatched };
    std::size_t ByteCount() const;

    TKind FKind = TKind::None;
    bool FUnreadable = false;
    std::array<uint8_t, 16> FBytes{};
};

} // namespace quorvane
