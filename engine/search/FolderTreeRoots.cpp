#include "search/FolderTreeRoots.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "platform/AtomicFile.h"

namespace quorvane {

TFolderTreeRoots FolderTreeRoots(const std::vector<TMount>& mounts, std::string home) {
    TFolderTreeRoots roots;
    roots.Home = std::move(home);
    roots.DriveRoots.push_back("/");
    for (std::string& root : FixedDriveRoots(mounts))
        if (root != "/")
            roots.DriveRoots.push_back(std::move(root));
    for (const TMount& mount : mounts)
        if (IsVirtualFileSystem(mount.Type) &&
            std::find(roots.VirtualMountPoints.begin(), roots.VirtualMountPoints.end(),
                      mount.MountPoint) == roots.VirtualMountPoints.end())
            roots.VirtualMountPoints.push_back(mount.MountPoint);
    return roots;
}

TFolderTreeRoots FolderTreeRootsOfThisMachine(std::string home) {
    std::string table;
    try {
        table = ReadWholeFile("/proc/self/mounts");
    } catch (const std::exception&) {
        // Without a mount table the tree still offers "/" and the home folder.
    }
    TFolderTreeRoots roots = FolderTreeRoots(ParseMounts(table), std::move(home));
    std::erase_if(roots.DriveRoots, [](const std::string& root) {
        std::error_code error;
        return !std::filesystem::is_directory(root, error);
    });
    return roots;
}

} // namespace quorvane
