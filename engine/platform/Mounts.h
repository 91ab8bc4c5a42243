#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quorvane {

// One line of the mount table, with the table's octal escapes (\040 for a blank ...) decoded.
struct TMount {
    std::string Source;
    std::string MountPoint;
    std::string Type;
};

// Reads the text of /proc/self/mounts. Lines that do not have the three fields are skipped.
std::vector<TMount> ParseMounts(std::string_view text);
// Decodes the octal escapes "\ooo" the kernel writes for blanks, tabs, newlines and "\".
std::string DecodeMountField(std::string_view field);

// File systems that live on a local disk: the machine's "fixed drives".
bool IsLocalDiskFileSystem(std::string_view type);
// Kernel interfaces dressed as file systems (proc, sysfs, ...): the walk never enters them.
bool IsVirtualFileSystem(std::string_view type);

// The mount points of local disk file systems in table order, each once, each ending with "/".
std::vector<std::string> FixedDriveRoots(const std::vector<TMount>& mounts);
// The fixed-drive roots of this machine. A machine whose root lies on something else (a live
// system, a container) still has "/": it is given when no local disk file system is mounted.
std::vector<std::string> FixedDriveRoots();

// The devices of the mounted virtual file systems: a folder whose device is one of them is
// never entered. Taken from /proc/self/mountinfo, which names each mount's device, so that
// devtmpfs is told apart from an ordinary tmpfs (the two share a file system type number).
class TVirtualFileSystems {
public:
    // Of this machine now; empty when the mount table cannot be read.
    static TVirtualFileSystems OfThisMachine();
    // From the text of a mountinfo file.
    static TVirtualFileSystems FromMountInfo(std::string_view text);

    bool Contains(uint64_t device) const { return FDevices.contains(device); }
    bool Empty() const { return FDevices.empty(); }

private:
    std::unordered_set<uint64_t> FDevices;
};

} // namespace quorvane
