#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/MoveFile.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A folder on a file system other than the temporary folder's, or empty.
std::string OtherFileSystemFolder(const std::string& than) {
    struct stat a, b;
    if (::stat("/dev/shm", &b) != 0 || ::stat(than.c_str(), &a) != 0 || a.st_dev == b.st_dev)
        return {};
    char pattern[] = "/dev/shm/quorvane-move-XXXXXX";
    return ::mkdtemp(pattern) ? std::string(pattern) + "/" : std::string();
}

std::string BigContents(std::size_t size) {
    std::string contents(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        contents[i] = static_cast<char>(i * 7 + i / 4096);
    return contents;
}

struct TCopyCase {
    const char* Name;
    bool OtherFileSystem; // a real move to /dev/shm; else the copy forced within /tmp
};

class MoveAcross : public ::testing::TestWithParam<TCopyCase> {};

TEST_P(MoveAcross, CopiesWithModeAndTimesThenRemovesTheSource) {
    test::TTempDir dir;
    std::string targetFolder = dir.MakeFolder("target");
    if (GetParam().OtherFileSystem) {
        targetFolder = OtherFileSystemFolder(dir.Path());
        if (targetFolder.empty())
            GTEST_SKIP() << "/dev/shm is no file system of its own here";
    }
    const std::string contents = BigContents(3 << 20 | 123);
    const std::string source = dir.WriteFile("source \xFF", contents);
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    const timespec times[2] = {{1500000000, 0}, {1600000000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

    const std::string target = targetFolder + "moved \xFF";
    int pumped = 0;
    EXPECT_EQ(MoveFileTo(source, target,
                         {.CopyAlways = !GetParam().OtherFileSystem, .Pump = [&] { ++pumped; }}),
              "");
    EXPECT_GE(pumped, 8) << "once per block copied and compared";

    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(ReadFile(target), contents);
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1600000000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 500);
    EXPECT_EQ(Entries(targetFolder), std::vector<std::string>{"moved \xFF"}) << "no temporary left";
    if (GetParam().OtherFileSystem)
        fs::remove_all(targetFolder);
}

INSTANTIATE_TEST_SUITE_P(Ways, MoveAcross,
                         ::testing::Values(TCopyCase{"ForcedCopy", false},
                                           TCopyCase{"DevShm", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(MoveFile, AnExistingTargetIsReplacedOnlyWithConsent) {
    test::TTempDir dir;
    for (const bool copy : {false, true}) {
        const std::string source = dir.WriteFile("source", "new");
        const std::string target = dir.WriteFile("target/name", "old");
        EXPECT_EQ(MoveFileTo(source, target, {.CopyAlways = copy}), "the target exists");
        EXPECT_EQ(ReadFile(source), "new");
        EXPECT_EQ(ReadFile(target), "old");
        EXPECT_EQ(Entries(dir / "target"), std::vector<std::string>{"name"});

        EXPECT_EQ(MoveFileTo(source, target, {.ReplaceTarget = true, .CopyAlways = copy}), "");
        EXPECT_FALSE(Exists(source));
        EXPECT_EQ(ReadFile(target), "new");
    }
}

// A copy that fails half-way (the target file system fills up) is taken back and the source stays.
TEST(MoveFile, AFailedCopyLeavesTheSourceAndNoPartialFile) {
    test::TTempDir dir;
    const std::string small = dir.MakeFolder("small");
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string contents = BigContents(1 << 20);
    const std::string source = dir.WriteFile("big", contents);

    const std::string error = MoveFileTo(source, small + "big");
    EXPECT_NE(error.find("cannot write the copy"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(source), contents);
    EXPECT_TRUE(Entries(small).empty());
    ::umount(small.c_str());
}

TEST(MoveFile, WithinOneFileSystemItIsARename) {
    test::TTempDir dir;
    const std::string source = dir.WriteFile("a", "contents");
    struct stat before, after;
    ASSERT_EQ(::stat(source.c_str(), &before), 0);
    EXPECT_EQ(MoveFileTo(source, dir / "b"), "");
    ASSERT_EQ(::stat((dir / "b").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(MoveFileTo(dir / "gone", dir / "c"), "No such file or directory");
}

} // namespace
} // namespace quorvane
