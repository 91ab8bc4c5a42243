#include "platform/Mounts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>

#include <sys/sysmacros.h>

#include "platform/AtomicFile.h"

namespace quorvane {
namespace {

constexpr std::array<std::string_view, 19> kLocalDiskTypes = {
    "ext2",  "ext3",    "ext4", "xfs", "btrfs",   "f2fs", "vfat",     "msdos",  "exfat",   "ntfs",
    "ntfs3", "fuseblk", "zfs",  "jfs", "hfsplus", "hfs",  "reiserfs", "nilfs2", "bcachefs"};

constexpr std::array<std::string_view, 20> kVirtualTypes = {
    "proc",      "sysfs",       "devtmpfs", "devpts", "cgroup",     "cgroup2", "debugfs",
    "tracefs",   "securityfs",  "pstore",   "bpf",    "configfs",   "fusectl", "mqueue",
    "hugetlbfs", "binfmt_misc", "efivarfs", "autofs", "rpc_pipefs", "nsfs"};

bool Contains(const auto& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Splits a line at single blanks (the tables escape blanks inside fields).
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const auto blank = line.find(' ');
        if (blank != 0)
            fields.push_back(line.substr(0, blank));
        if (blank == std::string_view::npos)
            break;
        line.remove_prefix(blank + 1);
    }
    return fields;
}

template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        visit(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

std::string ReadProcFile(const std::string& name) {
    try {
        return ReadWholeFile(name);
    } catch (const std::exception&) {
        return {}; // no /proc: nothing mounted that we could learn about
    }
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

} // namespace

std::string DecodeMountField(std::string_view field) {
    std::string decoded;
    decoded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::vector<TMount> ParseMounts(std::string_view text) {
    std::vector<TMount> mounts;
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(line);
        if (fields.size() >= 3)
            mounts.push_back({DecodeMountField(fields[0]), DecodeMountField(fields[1]),
                              DecodeMountField(fields[2])});
    });
    return mounts;
}

bool IsLocalDiskFileSystem(std::string_view type) {
    return Contains(kLocalDiskTypes, type);
}

bool IsVirtualFileSystem(std::string_view type) {
    return Contains(kVirtualTypes, type);
}

std::vector<std::string> FixedDriveRoots(const std::vector<TMount>& mounts) {
    std::vector<std::string> roots;
    for (const TMount& mount : mounts) {
        if (!IsLocalDiskFileSystem(mount.Type) || mount.MountPoint.empty())
            continue;
        std::string root = mount.MountPoint;
        if (root.back() != '/')
            root += '/';
        if (!Contains(roots, root))
            roots.push_back(std::move(root));
    }
    return roots;
}

std::vector<std::string> FixedDriveRoots() {
    std::vector<std::string> roots =
        FixedDriveRoots(ParseMounts(ReadProcFile("/proc/self/mounts")));
    if (roots.empty())
        roots.push_back("/");
    return roots;
}

TVirtualFileSystems TVirtualFileSystems::OfThisMachine() {
    return FromMountInfo(ReadProcFile("/proc/self/mountinfo"));
}

TVirtualFileSystems TVirtualFileSystems::FromMountInfo(std::string_view text) {
    // "36 35 98:0 /root /mount/point options [optional fields] - type source super-options"
    TVirtualFileSystems result;
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(line);
        const auto separator = std::find(fields.begin() + std::min<std::size_t>(fields.size(), 6),
                                         fields.end(), std::string_view("-"));
        if (fields.size() < 3 || separator == fields.end() || separator + 1 == fields.end())
            return;
        if (!IsVirtualFileSystem(DecodeMountField(separator[1])))
            return;
        const std::string_view device = fields[2];
        const auto colon = device.find(':');
        unsigned major = 0, minor = 0;
        if (colon == std::string_view::npos ||
            std::from_chars(device.data(), device.data() + colon, major).ec != std::errc() ||
            std::from_chars(device.data() + colon + 1, device.data() + device.size(), minor).ec !=
                std::errc())
            return;
        result.FDevices.insert(static_cast<uint64_t>(makedev(major, minor)));
    });
    return result;
}

} // namespace quorvane
