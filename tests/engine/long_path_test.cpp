#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "duplicates/Checksums.h"
#include "duplicates/FileBlockReader.h"
#include "testsupport/DeepChain.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

// Files whose full names are far longer than the path limit are read like any other, by every
// reader of contents: the head, the byte compare and the hashing.
TEST(LongPaths, FilesBelowTheLimitAreReadByEveryReader) {
    test::TTempDir dir;
    test::TDeepChain chain(dir.Path(), 10000);
    const std::string bytes(5000, 'q');
    std::string changed = bytes;
    changed.back() = 'z';
    const std::string same1 = chain.WriteFile("same1", bytes);
    const std::string same2 = chain.WriteFile("same2", bytes);
    const std::string other = chain.WriteFile("other", changed);
    ASSERT_GT(same1.size(), 4u * PATH_MAX);

    std::array<uint8_t, 16> head{};
    std::size_t count = 0;
    const TFileReadOutcome read = ReadFileHead(same1, head, count);
    EXPECT_TRUE(read.Ok()) << read.Error.substr(0, 200);
    EXPECT_EQ(count, head.size());
    EXPECT_EQ(head[0], 'q');

    EXPECT_TRUE(FilesHoldSameBytes(same1, same2));
    EXPECT_FALSE(FilesHoldSameBytes(same1, other));

    for (TCompareMode mode : {cmCrc, cmMD5}) {
        const TChecksum first = FileCheckSum(same1, mode);
        EXPECT_FALSE(first.IsUnreadable()) << mode;
        EXPECT_EQ(first, FileCheckSum(same2, mode)) << mode;
        EXPECT_NE(first, FileCheckSum(other, mode)) << mode;
    }
}

} // namespace
} // namespace quorvane
