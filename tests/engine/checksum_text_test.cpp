#include <gtest/gtest.h>

#include "search/Checksum.h"

namespace quorvane {
namespace {

std::array<uint8_t, 16> Digest(uint8_t first) {
    std::array<uint8_t, 16> d{};
    d[0] = first;
    d[15] = 0xAB;
    return d;
}

TEST(ChecksumText, TextsByKind) {
    EXPECT_EQ(TChecksum().Text(), "");
    EXPECT_EQ(TChecksum::FromCrc32(0x00ABCDEF).Text(), "00ABCDEF");
    EXPECT_EQ(TChecksum::FromDigest(Digest(0xC4)).Text(), "c40000000000000000000000000000ab");
    EXPECT_EQ(TChecksum::Unreadable().Text(), "FFFFFFFF");
    EXPECT_TRUE(TChecksum::Unreadable().IsUnreadable());
}

TEST(ChecksumText, UnreadableIsNeverTheSameAsARealChecksum) {
    EXPECT_EQ(TChecksum::Unreadable(), TChecksum::Unreadable());
    EXPECT_NE(TChecksum::Unreadable(), TChecksum::FromCrc32(0xFFFFFFFF));
    EXPECT_NE(TChecksum(), TChecksum::FromCrc32(0));
}

TEST(ChecksumText, OrdersAsTheTextsDoWithoutCase) {
    // Compare as the lower-cased texts would: "0a..." < "c4..." and a prefix first.
    const TChecksum values[] = {TChecksum(),
                                TChecksum::FromCrc32(0x0A000000),
                                TChecksum::FromDigest(Digest(0x0A)),
                                TChecksum::FromDigest(Digest(0xC4)),
                                TChecksum::FromCrc32(0xFFFFFFFF),
                                TChecksum::Unreadable()};
    for (std::size_t i = 0; i < std::size(values); ++i)
        for (std::size_t j = 0; j < std::size(values); ++j)
            EXPECT_EQ(values[i].CompareNoCase(values[j]), (i > j) - (i < j)) << i << " vs " << j;
}

} // namespace
} // namespace quorvane
