#include "search/FolderTreeRoots.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(FolderTreeRootsTest, SlashFirstThenLocalDisksAndVirtualMountsApart) {
    const auto mounts = ParseMounts("proc /proc proc rw 0 0\n"
                                    "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
                                    "/dev/sda2 / ext4 rw 0 0\n"
                                    "server:/x /mnt/nfs nfs4 rw 0 0\n"
                                    "tmpfs /tmp tmpfs rw 0 0\n"
                                    "sysfs /sys sysfs rw 0 0\n"
                                    "/dev/sda3 /home xfs rw 0 0\n");
    const TFolderTreeRoots roots = FolderTreeRoots(mounts, "/home/ann");
    EXPECT_EQ(roots.Home, "/home/ann");
    EXPECT_EQ(roots.DriveRoots, (std::vector<std::string>{"/", "/media/ann/USB STICK/", "/home/"}));
    EXPECT_EQ(roots.VirtualMountPoints, (std::vector<std::string>{"/proc", "/sys"}));
}

TEST(FolderTreeRootsTest, WithoutAMountTableTheTreeStillOffersSlash) {
    EXPECT_EQ(FolderTreeRoots({}, "/root").DriveRoots, std::vector<std::string>{"/"});
}

TEST(FolderTreeRootsTest, ThisMachineKeepsOnlyFolders) {
    for (const std::string& root : FolderTreeRootsOfThisMachine("/root").DriveRoots)
        EXPECT_TRUE(std::filesystem::is_directory(root)) << root;
}

} // namespace
} // namespace quorvane
