#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/DirectoryListing.h"
#include "platform/Mounts.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

TEST(Mounts, FixedDriveRootsAreLocalDiskMountPointsWithEscapesDecoded) {
    const std::string table = "/dev/sda1 / ext4 rw,relatime 0 0\n"
                              "proc /proc proc rw 0 0\n"
                              "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
                              "/dev/sdc1 /mnt/back\\134slash\\011tab xfs rw 0 0\n"
                              "tmpfs /tmp tmpfs rw 0 0\n"
                              "/dev/sda2 /home ext4 rw 0 0\n"
                              "/dev/sda2 /home ext4 rw 0 0\n" // mounted over itself: listed once
                              "server:/export /net/share nfs4 rw 0 0\n"
                              "/dev/sdd1 /mnt/odd\\04 btrfs rw 0 0\n" // a cut escape stays as is
                              "half a line\n"
                              "\n";
    EXPECT_EQ(FixedDriveRoots(ParseMounts(table)),
              (std::vector<std::string>{"/", "/media/My Disk/", "/mnt/back\\slash\ttab/", "/home/",
                                        "/mnt/odd\\04/"}));
}

TEST(Mounts, ThisMachineHasAtLeastOneRootEndingWithASlash) {
    const std::vector<std::string> roots = FixedDriveRoots();
    ASSERT_FALSE(roots.empty());
    for (const std::string& root : roots)
        EXPECT_TRUE(!root.empty() && root.front() == '/' && root.back() == '/') << root;
}

TEST(VirtualFileSystems, AreKnownByDeviceSoDevtmpfsIsNotTmpfs) {
    const std::string mountInfo =
        "22 28 0:21 / /proc rw,relatime shared:12 - proc proc rw\n"
        "24 28 0:6 / /dev rw,relatime shared:2 master:1 - devtmpfs devtmpfs rw,mode=755\n"
        "26 24 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
        "28 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
        "30 28 0:40 / /media/a\\040b rw - autofs systemd-1 rw\n"
        "31 28 0:41 / /broken rw - \n"         // no type after the separator
        "32 28 zz / /odd rw - proc proc rw\n"; // no device number
    const TVirtualFileSystems virtualFileSystems = TVirtualFileSystems::FromMountInfo(mountInfo);
    EXPECT_TRUE(virtualFileSystems.Contains(makedev(0, 21)));
    EXPECT_TRUE(virtualFileSystems.Contains(makedev(0, 6)));
    EXPECT_TRUE(virtualFileSystems.Contains(makedev(0, 40)));
    EXPECT_FALSE(virtualFileSystems.Contains(makedev(0, 24)));
    EXPECT_FALSE(virtualFileSystems.Contains(makedev(8, 1)));
    EXPECT_FALSE(virtualFileSystems.Contains(makedev(0, 41)));
}

TEST(VirtualFileSystems, OfThisMachineHoldProcButNotTheTemporaryFolder) {
    struct stat proc, temporary;
    if (::stat("/proc/self", &proc) != 0)
        GTEST_SKIP() << "no /proc";
    TTempDir dir;
    ASSERT_EQ(::stat(dir.Path().c_str(), &temporary), 0);
    const TVirtualFileSystems virtualFileSystems = TVirtualFileSystems::OfThisMachine();
    EXPECT_TRUE(virtualFileSystems.Contains(proc.st_dev));
    EXPECT_FALSE(virtualFileSystems.Contains(temporary.st_dev));
}

TEST(Directory, ListsEveryEntryWithItsKindAndNeverFollowsLinks) {
    TTempDir dir;
    dir.WriteFile("file.txt", "12345");
    dir.MakeFolder("folder");
    ASSERT_EQ(::symlink("folder", (dir / "link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);

    std::optional<TDirectory> folder = TDirectory::Open(dir.Path());
    ASSERT_TRUE(folder);
    std::map<std::string, TEntryKind> listed;
    folder->ReadEntries([&listed](const char* name, TEntryKind kind) {
        listed[name] = kind;
        return true;
    });
    const std::map<std::string, TEntryKind> expected = {{"file.txt", TEntryKind::RegularFile},
                                                        {"folder", TEntryKind::Folder},
                                                        {"link", TEntryKind::Other},
                                                        {"pipe", TEntryKind::Other}};
    ASSERT_EQ(listed.size(), expected.size()); // no "." and ".."
    for (const auto& [name, kind] : expected) {
        SCOPED_TRACE(name);
        // A listing may leave the kind open; looking at the entry must then give it.
        EXPECT_TRUE(listed[name] == kind || listed[name] == TEntryKind::Unknown);
        const std::optional<TFileStatus> status = folder->EntryStatus(name.c_str());
        ASSERT_TRUE(status);
        EXPECT_EQ(status->Kind, kind);
    }

    const std::optional<TFileStatus> file = folder->EntryStatus("file.txt");
    struct stat st;
    ASSERT_EQ(::stat((dir / "file.txt").c_str(), &st), 0);
    EXPECT_EQ(file->Size, 5);
    EXPECT_EQ(file->ModifiedUnixSeconds, st.st_mtim.tv_sec);
    EXPECT_EQ(file->Id, (TFileId{st.st_dev, st.st_ino}));

    EXPECT_FALSE(folder->OpenChild("link")) << "a link to a folder was followed";
    EXPECT_FALSE(folder->OpenChild("file.txt"));
    EXPECT_FALSE(folder->EntryStatus("missing"));
    std::optional<TDirectory> child = folder->OpenChild("folder");
    ASSERT_TRUE(child);
    EXPECT_EQ(child->Status()->Id, folder->EntryStatus("folder")->Id);
    EXPECT_EQ(child->OpenParent()->Status()->Id, folder->Status()->Id);

    EXPECT_FALSE(TDirectory::Open(dir / "missing/"));
    EXPECT_FALSE(TDirectory::Open(dir / "file.txt/"));
    EXPECT_TRUE(TDirectory::Open(dir / "link/")) << "a link the user names is followed";
}

TEST(Directory, StopsListingWhenAsked) {
    TTempDir dir;
    for (const char* name : {"a", "b", "c"})
        dir.WriteFile(name);
    std::optional<TDirectory> folder = TDirectory::Open(dir.Path());
    ASSERT_TRUE(folder);
    int seen = 0;
    folder->ReadEntries([&seen](const char*, TEntryKind) { return ++seen < 2; });
    EXPECT_EQ(seen, 2);
}

} // namespace
} // namespace quorvane
