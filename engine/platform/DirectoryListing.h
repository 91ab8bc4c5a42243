#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <dirent.h>

namespace quorvane {

// What a file is, independent of the name it was reached by: a file or folder reached twice
// (bind mounts, repeated or nested include folders) has one identity.
struct TFileId {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    friend bool operator==(const TFileId&, const TFileId&) = default;
};

struct TFileIdHash {
    std::size_t operator()(const TFileId& id) const noexcept {
        return std::hash<uint64_t>()(id.Inode * 0x9E3779B97F4A7C15ull ^ id.Device);
    }
};

// The kinds the walk tells apart. Symbolic links, FIFOs, sockets and device nodes are all
// Other: they are neither taken as files nor walked into.
enum class TEntryKind : uint8_t { Unknown, Folder, RegularFile, Other };

struct TFileStatus {
    TEntryKind Kind = TEntryKind::Unknown;
    TFileId Id;
    int64_t Size = 0;
    int64_t ModifiedUnixSeconds = 0; // last-write time, seconds since the Unix epoch (UTC)
    uint64_t Links = 1;              // names the file has (hard links)
};

// The status of the file at `path` itself: a symbolic link is reported as a link (Other), not
// as what it points to. Empty when the path names nothing or cannot be looked at; errno then
// says why.
std::optional<TFileStatus> LinkStatus(const std::string& path);

// An open folder: lists its entries and looks at them relative to itself, so that no path
// longer than the system's limit is ever needed and no symbolic link on the way is followed.
// Move-only; closes the folder when destroyed. Every call reports failure by an empty (or false)
// result, never by an exception, and leaves errno saying why: the caller decides whether a
// folder that vanished or denies access is worth a word.
class TDirectory {
public:
    TDirectory(TDirectory&& other) noexcept;
    TDirectory& operator=(TDirectory&& other) noexcept;
    TDirectory(const TDirectory&) = delete;
    TDirectory& operator=(const TDirectory&) = delete;
    ~TDirectory();

    // Opens a folder by its path. Links in the path are followed: this is a folder the user
    // named, not one met during a walk.
    static std::optional<TDirectory> Open(const std::string& path);
    // Opens an entry of this folder as a folder; fails on a symbolic link.
    std::optional<TDirectory> OpenChild(const char* name) const;
    // Opens the folder that holds this one (its ".." entry).
    std::optional<TDirectory> OpenParent() const { return OpenChild(".."); }

    // The status of this folder itself.
    std::optional<TFileStatus> Status() const;
    // The status of one of its entries. A symbolic link is reported as a link (Other), and a
    // folder where a file system would be mounted on demand is reported without mounting it.
    std::optional<TFileStatus> EntryStatus(const char* name) const;

    // Calls `entry` for every entry except "." and "..", in the order the file system returns
    // them. The kind comes from the listing itself and is Unknown where the file system does
    // not say; `name` is valid during the call only. Stops early when `entry` returns false.
    // Reads the listing once: call it at most once per open folder. False when the listing
    // failed before its end (what was read before stays read).
    bool ReadEntries(const std::function<bool(const char* name, TEntryKind kind)>& entry);

private:
    explicit TDirectory(DIR* stream) : FStream(stream) {}
    static std::optional<TDirectory> FromDescriptor(int descriptor);
    int Descriptor() const;

    DIR* FStream = nullptr;
};

} // namespace quorvane
