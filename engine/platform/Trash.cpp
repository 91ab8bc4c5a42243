#include "platform/Trash.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "platform/HexText.h"
#include "platform/MakeFolders.h"
#include "platform/Mounts.h"
#include "platform/RenameNoReplace.h"

namespace quorvane {
namespace {

constexpr int kMostNameAttempts = 10000;

// A trash folder ready to take a file (its files/ and info/ exist), and how the .trashinfo
// names the original: absolute for the home trash, relative to the top folder otherwise.
struct TTrashFolder {
    std::string Folder;   // ends with "/"
    std::string PathBase; // empty, or the top folder ending with "/"
};

std::string Reason(int error) {
    return std::strerror(error);
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()))
        return entry->pw_dir;
    return {};
}

// The device of the path, or of the nearest folder above it that exists.
std::optional<dev_t> DeviceOf(std::string path) {
    while (!path.empty()) {
        struct stat st;
        if (::stat(path.c_str(), &st) == 0)
            return st.st_dev;
        const auto slash = path.find_last_of('/');
        if (slash == std::string::npos || path == "/")
            break;
        path.resize(slash == 0 ? 1 : slash);
    }
    return std::nullopt;
}

// A folder of the trash: made (0700) when missing. An existing one must be a real folder, not a
// link, and, when `mustOwn`, ours: another user's folder would hand them our files.
std::string UsePrivateFolder(const std::string& folder, bool mustOwn) {
    if (::mkdir(folder.c_str(), 0700) == 0)
        return {};
    if (errno != EEXIST)
        return "cannot create the trash folder " + folder + ": " + Reason(errno);
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0)
        return "cannot use the trash folder " + folder + ": " + Reason(errno);
    if (!S_ISDIR(st.st_mode))
        return "cannot use the trash folder " + folder + ": it is not a folder";
    if (mustOwn && st.st_uid != ::getuid())
        return "cannot use the trash folder " + folder + ": it belongs to another user";
    return {};
}

std::string PrepareTrash(const std::string& folder, bool mustOwn) {
    std::string error = UsePrivateFolder(folder, mustOwn);
    if (error.empty())
        error = UsePrivateFolder(folder + "/files", false);
    if (error.empty())
        error = UsePrivateFolder(folder + "/info", false);
    return error;
}

// The file's name with its folder resolved (links and "..", as the mount table names it).
std::optional<std::string> CanonicalName(const std::string& fullName, std::string& error) {
    const auto slash = fullName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : fullName.substr(0, slash + 1);
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved) {
        error = Reason(errno);
        return std::nullopt;
    }
    std::string canonical(resolved);
    std::free(resolved);
    if (canonical.back() != '/')
        canonical += '/';
    return canonical + fullName.substr(slash == std::string::npos ? 0 : slash + 1);
}

// The mount point that holds the path: the longest one that is a folder prefix of it.
std::string TopFolderOf(const std::string& canonicalName) {
    std::string best = "/";
    for (const TMount& mount : ParseMounts(ReadWholeFile("/proc/self/mounts"))) {
        std::string point = mount.MountPoint;
        if (point.empty() || point[0] != '/')
            continue;
        if (point.back() != '/')
            point += '/';
        if (point.size() > best.size() && canonicalName.compare(0, point.size(), point) == 0)
            best = point;
    }
    return best;
}

// The trash at the top folder of the file's file system: $topdir/.Trash/$uid when the
// administrator provided $topdir/.Trash (a real folder with the sticky bit), else
// $topdir/.Trash-$uid.
std::optional<TTrashFolder> TopFolderTrash(const std::string& canonicalName, dev_t device,
                                           std::string& error) {
    std::string top;
    try {
        top = TopFolderOf(canonicalName);
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
    struct stat st;
    if (::stat(top.c_str(), &st) != 0 || st.st_dev != device) {
        error = "cannot find the top folder of its file system";
        return std::nullopt;
    }
    const std::string uid = std::to_string(::getuid());
    const std::string shared = top + ".Trash";
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
        PrepareTrash(shared + "/" + uid, true).empty())
        return TTrashFolder{shared + "/" + uid + "/", top};
    const std::string own = top + ".Trash-" + uid;
    error = PrepareTrash(own, true);
    if (!error.empty())
        return std::nullopt;
    return TTrashFolder{own + "/", top};
}

// The Path value of a .trashinfo file: each byte outside A-Z a-z 0-9 "-._~/" as "%XX".
std::string EncodeTrashInfoPath(const std::string& path) {
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
            c == '/')
            encoded += c;
        else
            AppendPercentByte(encoded, byte);
    }
    return encoded;
}

std::string TrashInfo(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + EncodeTrashInfoPath(path) + "\nDeletionDate=" + date + "\n";
}

std::string WriteAndFlush(int fd, const std::string& text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Reason(errno);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(fd) != 0)
        return Reason(errno);
    return {};
}

void FlushFolder(const std::string& folder) {
    TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

enum class TTrashResult { Done, OtherDevice, Failed };

// Reserves a name in the trash by creating its .trashinfo exclusively, writes it, then renames
// the file into files/ under that name.
TTrashResult PutInTrash(const std::string& fullName, const std::string& originalPath,
                        const TTrashFolder& trash, std::string& error) {
    const std::string base = fullName.substr(fullName.find_last_of('/') + 1);
    const std::string info = TrashInfo(
        trash.PathBase.empty() ? originalPath : originalPath.substr(trash.PathBase.size()));
    for (int attempt = 1; attempt <= kMostNameAttempts; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "." + std::to_string(attempt);
        const std::string infoName = trash.Folder + "info/" + name + ".trashinfo";
        TFileDescriptor fd(
            ::open(infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd.Get() < 0) {
            if (errno == EEXIST)
                continue;
            error = "cannot write " + infoName + ": " + Reason(errno);
            return TTrashResult::Failed;
        }
        error = WriteAndFlush(fd.Get(), info);
        if (error.empty() && ::close(fd.Release()) != 0)
            error = Reason(errno);
        if (!error.empty()) {
            ::unlink(infoName.c_str());
            error = "cannot write " + infoName + ": " + error;
            return TTrashResult::Failed;
        }
        FlushFolder(trash.Folder + "info");
        const int renamed = RenameNoReplace(fullName, trash.Folder + "files/" + name);
        if (renamed == 0) {
            FlushFolder(trash.Folder + "files");
            return TTrashResult::Done;
        }
        ::unlink(infoName.c_str());
        if (renamed == EEXIST) // a file without its .trashinfo holds the name
            continue;
        error = "cannot move it to " + trash.Folder + "files/: " + Reason(renamed);
        return renamed == EXDEV ? TTrashResult::OtherDevice : TTrashResult::Failed;
    }
    error = "no free name in " + trash.Folder;
    return TTrashResult::Failed;
}

} // namespace

std::string HomeTrashFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/Trash";
    return HomeFolder() + "/.local/share/Trash";
}

std::string MoveToTrash(const std::string& fullName) {
    struct stat st;
    if (::lstat(fullName.c_str(), &st) != 0)
        return Reason(errno);
    std::string error;
    const std::optional<std::string> canonical = CanonicalName(fullName, error);
    if (!canonical)
        return error;

    const std::string home = HomeTrashFolder();
    if (home.size() > 6 && home[0] == '/' && DeviceOf(home) == st.st_dev) {
        const std::string dataHome = home.substr(0, home.size() - 6);
        error = MakeFolders(dataHome, 0700);
        if (error.empty())
            error = PrepareTrash(home, false);
        if (!error.empty())
            return error;
        const TTrashResult result = PutInTrash(fullName, *canonical, {home + "/", ""}, error);
        if (result != TTrashResult::OtherDevice) // a bind mount of the home file system
            return result == TTrashResult::Done ? std::string() : error;
    }
    const std::optional<TTrashFolder> trash = TopFolderTrash(*canonical, st.st_dev, error);
    if (!trash)
        return error;
    return PutInTrash(fullName, *canonical, *trash, error) == TTrashResult::Done ? std::string()
                                                                                 : error;
}

} // namespace quorvane
