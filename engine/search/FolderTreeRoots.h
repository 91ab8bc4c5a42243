#pragma once

#include <string>
#include <vector>

#include "platform/Mounts.h"

namespace quorvane {

// What the search options dialog's folder tree shows at its top, and what it never enters.
struct TFolderTreeRoots {
    std::string Home;                    // the user's home folder, shown as "Home"
    std::vector<std::string> DriveRoots; // under "Computer": "/" first, each ending with "/"
    std::vector<std::string> VirtualMountPoints; // /proc, /sys ...: never shown, never listed
};

// From a mount table: "/", then every other local disk mount point in table order.
TFolderTreeRoots FolderTreeRoots(const std::vector<TMount>& mounts, std::string home);

// From this machine's mount table, keeping only drive roots that are folders (a container binds
// single files such as /etc/hosts from a disk).
TFolderTreeRoots FolderTreeRootsOfThisMachine(std::string home);

} // namespace quorvane
