#include "platform/MoveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"
#include "platform/RenameNoReplace.h"

namespace quorvane {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

std::string Reason(int error) {
    return std::strerror(error);
}

std::string FolderOf(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

void FlushFolder(const std::string& folder) {
    TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

int Rename(const std::string& from, const std::string& to, bool replace) {
    if (!replace)
        return RenameNoReplace(from, to);
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Reads up to `count` bytes at `offset`, short only at the end of the file; -1 on failure.
ssize_t ReadAt(int fd, char* buffer, std::size_t count, off_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, buffer + done, count - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteAll(int fd, const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, data, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

void CallPump(const std::function<void()>& pump) {
    if (pump)
        pump();
}

// Copies the whole source into the copy; empty or why not.
std::string CopyContents(int source, int copy, const std::function<void()>& pump) {
    std::vector<char> buffer(kCopyBlock);
    for (off_t offset = 0;;) {
        const ssize_t got = ReadAt(source, buffer.data(), buffer.size(), offset);
        if (got < 0)
            return "cannot read it: " + Reason(errno);
        if (got == 0)
            return {};
        if (!WriteAll(copy, buffer.data(), static_cast<std::size_t>(got)))
            return "cannot write the copy: " + Reason(errno);
        offset += got;
        CallPump(pump);
    }
}

// Reads both back from the start: the copy must hold the source's bytes, no more, no fewer.
std::string CompareContents(int source, int copy, const std::function<void()>& pump) {
    std::vector<char> first(kCopyBlock), second(kCopyBlock);
    for (off_t offset = 0;;) {
        const ssize_t a = ReadAt(source, first.data(), first.size(), offset);
        const ssize_t b = ReadAt(copy, second.data(), second.size(), offset);
        if (a < 0 || b < 0)
            return "cannot read the copy back: " + Reason(errno);
        if (a != b || std::memcmp(first.data(), second.data(), static_cast<std::size_t>(a)) != 0)
            return "the copy differs from the source";
        if (a == 0)
            return {};
        offset += a;
        CallPump(pump);
    }
}

bool SameStatus(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The copy into a temporary file beside the target, checked, with the source's mode, owner and
// times; empty or why not.
std::string WriteCheckedCopy(int source, const struct stat& status, int copy,
                             const std::function<void()>& pump) {
    std::string error = CopyContents(source, copy, pump);
    if (!error.empty())
        return error;
    // The owner first: changing it clears set-user-ID bits that fchmod then puts back. Only root
    // may give a file away; anyone else keeps the copy as their own.
    if (::fchown(copy, status.st_uid, status.st_gid) != 0 && errno != EPERM)
        return "cannot keep the owner: " + Reason(errno);
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (::fchmod(copy, status.st_mode & 07777) != 0 || ::futimens(copy, times) != 0)
        return "cannot keep the mode and times: " + Reason(errno);
    if (::fsync(copy) != 0)
        return "cannot write the copy: " + Reason(errno);
    struct stat copied, after;
    if (::fstat(copy, &copied) != 0 || ::fstat(source, &after) != 0)
        return Reason(errno);
    if (copied.st_size != status.st_size || !SameStatus(status, after))
        return "it changed while it was copied";
    return CompareContents(source, copy, pump);
}

std::string CopyAcross(const std::string& source, const std::string& target,
                       const TMoveOptions& options) {
    TFileDescriptor from(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status;
    if (from.Get() < 0 || ::fstat(from.Get(), &status) != 0)
        return "cannot read it: " + Reason(errno);
    if (!S_ISREG(status.st_mode))
        return "it is not a regular file";
    std::string temporary = FolderOf(target) + "/.quorvane-move-XXXXXX";
    TFileDescriptor copy(::mkostemp(temporary.data(), O_CLOEXEC));
    if (copy.Get() < 0)
        return "cannot create a file in " + FolderOf(target) + ": " + Reason(errno);
    std::string error = WriteCheckedCopy(from.Get(), status, copy.Get(), options.Pump);
    if (error.empty() && ::close(copy.Release()) != 0)
        error = "cannot write the copy: " + Reason(errno);
    if (error.empty()) {
        if (const int renamed = Rename(temporary, target, options.ReplaceTarget))
            error = renamed == EEXIST ? "the target exists" : Reason(renamed);
    }
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        return error;
    }
    FlushFolder(FolderOf(target));
    if (::unlink(source.c_str()) != 0)
        return "copied to " + target + ", but the source cannot be removed: " + Reason(errno);
    FlushFolder(FolderOf(source));
    return {};
}

} // namespace

std::string MoveFileTo(const std::string& source, const std::string& target,
                       const TMoveOptions& options) {
    if (!options.CopyAlways) {
        const int renamed = Rename(source, target, options.ReplaceTarget);
        if (renamed == 0) {
            FlushFolder(FolderOf(target));
            return {};
        }
        if (renamed != EXDEV)
            return renamed == EEXIST ? "the target exists" : Reason(renamed);
    }
    return CopyAcross(source, target, options);
}

} // namespace quorvane
