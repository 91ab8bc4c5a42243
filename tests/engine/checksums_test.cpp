#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "duplicates/Checksums.h"
#include "duplicates/Crc.h"
#include "duplicates/MessageDigests.h"
#include "testsupport/TempDir.h"

namespace {

using namespace quorvane;

const std::vector<TCompareMode> kContentModes = {cmCrc, cmMD4, cmMD5};

struct TExpected {
    TCompareMode Mode;
    const char* Text;
};

TEST(FileCheckSum, TextOfEachCompareMode) {
    test::TTempDir dir;
    const std::string digits = dir.WriteFile("digits", "123456789");
    const std::string empty = dir.WriteFile("empty", "");
    // MD4 and MD5 of "123456789" from openssl dgst -md4 and Python's hashlib.md5.
    for (const TExpected& expected :
         std::vector<TExpected>{{cmCrc, "CBF43926"},
                                {cmMD4, "2ae523785d0caf4d2fb557c12016185c"},
                                {cmMD5, "25f9e794323b453885f5181f1b624d0b"}}) {
        const TChecksum checksum = FileCheckSum(digits, expected.Mode);
        EXPECT_EQ(checksum.Text(), expected.Text) << "mode " << expected.Mode;
        EXPECT_FALSE(checksum.IsUnreadable());
    }
    for (const TExpected& expected :
         std::vector<TExpected>{{cmCrc, "00000000"},
                                {cmMD4, "31d6cfe0d16ae931b73c59d7e0c089c0"},
                                {cmMD5, "d41d8cd98f00b204e9800998ecf8427e"}}) {
        const TChecksum checksum = FileCheckSum(empty, expected.Mode);
        EXPECT_EQ(checksum.Text(), expected.Text) << "empty file, mode " << expected.Mode;
        EXPECT_FALSE(checksum.IsUnreadable());
    }
    EXPECT_TRUE(FileCheckSum(digits, cmNone).Empty());
}

// Four 0xFF bytes clear the register, so their CRC-32 is FFFFFFFF: the same text as the mark of
// an unreadable file, yet the file was read.
TEST(FileCheckSum, ReadableFileWithCrcOfAllOnesIsNotUnreadable) {
    test::TTempDir dir;
    const std::string file = dir.WriteFile("ones", std::string(4, '\xFF'));
    EXPECT_EQ(FileCrc32(file), 0xFFFFFFFFu);
    const TChecksum checksum = FileCheckSum(file, cmCrc);
    EXPECT_EQ(checksum.Text(), "FFFFFFFF");
    EXPECT_FALSE(checksum.IsUnreadable());
    EXPECT_FALSE(checksum == TChecksum::Unreadable());
}

TEST(FileCheckSum, FilesThatCannotBeReadAreMarkedUnderEveryMode) {
    test::TTempDir dir;
    const std::string vanished = dir.WriteFile("vanished", "gone soon");
    ASSERT_EQ(::unlink(vanished.c_str()), 0);
    const std::string folder = dir.MakeFolder("folder");
    // A FIFO would block an ordinary open for ever.
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);

    for (const std::string& name : {vanished, folder, fifo, std::string()})
        for (const TCompareMode mode : kContentModes) {
            const TChecksum checksum = FileCheckSum(name, mode);
            EXPECT_TRUE(checksum.IsUnreadable()) << "\"" << name << "\" mode " << mode;
            EXPECT_EQ(checksum.Text(), "FFFFFFFF") << "\"" << name << "\" mode " << mode;
        }
}

TEST(FileCheckSum, FileWithoutReadPermissionIsMarkedUnderEveryMode) {
    test::TTempDir dir;
    // Let the unprivileged user reach the folder, so that only the file's own mode stops it.
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string locked = dir.WriteFile("locked", "secret");
    const std::string open = dir.WriteFile("open", "123456789");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0644), 0);

    const int status = test::RunAsUnprivileged([&] {
        bool ok =
            FileCheckSum(open, cmCrc).Text() == "CBF43926" && FileCrc32(locked) == 0xFFFFFFFFu;
        for (const TCompareMode mode : kContentModes)
            ok = ok && FileCheckSum(locked, mode).IsUnreadable();
        return ok;
    });
    EXPECT_EQ(status, 0);
}

// Reading the holes of a sparse file makes a disk file system zero a page-cache page for every
// 4 KiB, which costs seconds per pass over 4 GiB here; tmpfs hands out its shared zero page. So
// the large file goes to /dev/shm when that is a tmpfs.
std::unique_ptr<test::TTempDir> FolderForLargeSparseFile() {
    struct statfs info;
    if (::statfs("/dev/shm", &info) != 0 || info.f_type != TMPFS_MAGIC ||
        ::access("/dev/shm", W_OK) != 0)
        return std::make_unique<test::TTempDir>();
    const char* previous = std::getenv("TMPDIR");
    const std::optional<std::string> saved =
        previous ? std::optional<std::string>(previous) : std::nullopt;
    ::setenv("TMPDIR", "/dev/shm", 1);
    auto folder = std::make_unique<test::TTempDir>();
    if (saved)
        ::setenv("TMPDIR", saved->c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    return folder;
}

// A sparse file just over 4 GiB with a few bytes written at its start, across the 4 GiB mark and
// at its end. Expected values made once over the same file with Python's zlib.crc32, coreutils
// md5sum and `openssl dgst -provider legacy -provider default -md4`.
TEST(FileCheckSum, SparseFileLargerThanFourGiB) {
    const std::unique_ptr<test::TTempDir> dir = FolderForLargeSparseFile();
    const std::string name = *dir / "large";
    const off_t size = (off_t{1} << 32) + 5;
    const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
    ASSERT_EQ(::pwrite(fd, "mid", 3, (off_t{1} << 32) - 2), 3);
    ASSERT_EQ(::pwrite(fd, "tail", 4, size - 4), 4);
    ASSERT_EQ(::close(fd), 0);

    for (const TExpected& expected :
         std::vector<TExpected>{{cmCrc, "3CA8EE48"},
                                {cmMD4, "702b75d39a94fa9c1564fc3d46c46550"},
                                {cmMD5, "67774409fcea4c743e5df97f3e7114d4"}})
        EXPECT_EQ(FileCheckSum(name, expected.Mode).Text(), expected.Text)
            << "mode " << expected.Mode;
}

// A stop asked for while a file is read ends the reading at the next block: the checksum is
// empty (the file is as unread, not unreadable) and two copies are not found the same.
TEST(FileCheckSum, StopEndsTheReadingAtTheNextBlock) {
    test::TTempDir dir;
    const std::string contents(4 << 20, 'q');
    const std::string first = dir.WriteFile("a/copy", contents);
    const std::string second = dir.WriteFile("b/copy", contents);
    for (TCompareMode mode : kContentModes) {
        int asked = 0;
        const TStopRequested stopSecond = [&asked] { return ++asked > 1; };
        EXPECT_TRUE(FileCheckSum(first, mode, stopSecond).Empty()) << "mode " << mode;
        EXPECT_EQ(asked, 2) << "mode " << mode;
        EXPECT_TRUE(FileCheckSum(first, mode, [] { return false; }).Known()) << "mode " << mode;
    }
    int asked = 0;
    EXPECT_FALSE(FilesHoldSameBytes(first, second, [&asked] { return ++asked > 1; }));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(FilesHoldSameBytes(first, second, [] { return false; }));
}

} // namespace
