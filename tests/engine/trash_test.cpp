#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/Trash.h"
#include "testsupport/TempDir.h"
#include "testsupport/TrashInfoReader.h"

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

// The original path a trashed item's .trashinfo gives back, or "" when a strict reader rejects it.
std::string RestorePath(const std::string& trash, const std::string& item) {
    const std::optional<test::TTrashInfo> info =
        test::ReadTrashInfo(ReadFile(trash + "/info/" + item + ".trashinfo"));
    return info ? info->Path : "";
}

// A home trash of its own: $XDG_DATA_HOME points into a temporary folder for each test.
class Trash : public ::testing::Test {
protected:
    Trash() {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            FOldDataHome = old;
        ::setenv("XDG_DATA_HOME", (dir / "data home").c_str(), 1);
    }
    ~Trash() override {
        if (FOldDataHome)
            ::setenv("XDG_DATA_HOME", FOldDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    test::TTempDir dir;
    const std::string home = dir / "data home/Trash";

private:
    std::optional<std::string> FOldDataHome;
};

TEST_F(Trash, HomeTrashTakesAnyNameAndTheInfoLeadsBack) {
    EXPECT_EQ(HomeTrashFolder(), home);
    for (const std::string name : {"plain.txt", "it's \"quoted\"", "$(touch pwned)", "a, b and c",
                                   "new\nline", "\xFF\xFEnot utf-8", "100%41.txt"}) {
        const std::string file = dir.WriteFile("src/" + name, "contents of " + name);
        ASSERT_EQ(MoveToTrash(file), "") << name;
        EXPECT_FALSE(Exists(file));
        EXPECT_EQ(ReadFile(home + "/files/" + name), "contents of " + name);
        EXPECT_EQ(RestorePath(home, name), file) << name;
    }
    EXPECT_FALSE(Exists(dir / "pwned"));
    for (const char* folder : {"", "/files", "/info"}) {
        struct stat st;
        ASSERT_EQ(::stat((home + folder).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
}

TEST_F(Trash, SameNameTwiceAndANameHeldWithoutInfoGetTheNextFreeName) {
    const std::string first = dir.WriteFile("a/same", "first");
    const std::string second = dir.WriteFile("b/same", "second");
    const std::string third = dir.WriteFile("c/same", "third");
    ASSERT_EQ(MoveToTrash(first), "");
    ASSERT_EQ(MoveToTrash(second), "");
    // A stray file in files/ without its .trashinfo must not be replaced.
    dir.WriteFile("data home/Trash/files/same.3", "stray");
    ASSERT_EQ(MoveToTrash(third), "");

    EXPECT_EQ(RestorePath(home, "same"), first);
    EXPECT_EQ(RestorePath(home, "same.2"), second);
    EXPECT_EQ(ReadFile(home + "/files/same.3"), "stray");
    EXPECT_FALSE(Exists(home + "/info/same.3.trashinfo"));
    EXPECT_EQ(RestorePath(home, "same.4"), third);
    EXPECT_EQ(ReadFile(home + "/files/same.4"), "third");
}

TEST_F(Trash, ATrashThatCannotBeMadeLeavesTheFileAndSaysWhy) {
    const std::string file = dir.WriteFile("keep.txt", "keep");
    const std::string blocker = dir.WriteFile("plain file", "not a folder");
    ::setenv("XDG_DATA_HOME", (blocker + "/data").c_str(), 1);
    const std::string error = MoveToTrash(file);
    EXPECT_NE(error.find("cannot create the folder " + blocker + ": "), std::string::npos) << error;
    EXPECT_EQ(ReadFile(file), "keep");
}

// The top-folder trash of another file system: /dev/shm is a tmpfs on most machines.
TEST(TopFolderTrash, OnAnotherFileSystemUsesTheTrashOfItsTopFolder) {
    struct stat tmp, shm;
    if (::stat("/dev/shm", &shm) != 0 || ::stat(fs::temp_directory_path().c_str(), &tmp) != 0 ||
        tmp.st_dev == shm.st_dev)
        GTEST_SKIP() << "/dev/shm is no file system of its own here";
    test::TTempDir home;
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    char pattern[] = "/dev/shm/quorvane-trash-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = std::string(pattern) + "/";
    const std::string relative = folder.substr(std::strlen("/dev/shm/"));
    const std::string uid = std::to_string(::getuid());

    // Without a shared .Trash: $topdir/.Trash-$uid. With one (sticky): $topdir/.Trash/$uid.
    const bool madeShared = ::mkdir("/dev/shm/.Trash", 0777) == 0;
    const bool sharedFresh = madeShared && ::chmod("/dev/shm/.Trash", 01777) == 0;
    struct {
        std::string Name, Trash;
        bool Sticky;
    } cases[] = {{"private \xFF", "/dev/shm/.Trash-" + uid, false},
                 {"shared", "/dev/shm/.Trash/" + uid, true}};
    for (const auto& c : cases) {
        if (c.Sticky && !sharedFresh)
            continue; // an administrator's .Trash is not ours to test with
        if (!c.Sticky && madeShared)
            ::chmod("/dev/shm/.Trash", 0777); // not sticky: must be passed over
        if (c.Sticky)
            ::chmod("/dev/shm/.Trash", 01777);
        const std::string file = folder + c.Name;
        std::ofstream(file) << "x";
        EXPECT_EQ(MoveToTrash(file), "") << c.Name;
        EXPECT_FALSE(Exists(file));
        EXPECT_TRUE(Exists(c.Trash + "/files/" + c.Name)) << c.Trash;
        EXPECT_EQ(RestorePath(c.Trash, c.Name), relative + c.Name) << "relative to /dev/shm/";
        ::unlink((c.Trash + "/files/" + c.Name).c_str());
        ::unlink((c.Trash + "/info/" + c.Name + ".trashinfo").c_str());
        for (const char* sub : {"/files", "/info", ""}) // only when nobody else uses them
            ::rmdir((c.Trash + sub).c_str());
    }
    EXPECT_FALSE(Exists(home / "data/Trash")) << "the home trash is on another file system";
    if (madeShared)
        ::rmdir("/dev/shm/.Trash");
    ::rmdir(pattern);
    ::unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace quorvane
