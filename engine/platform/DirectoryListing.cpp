#include "platform/DirectoryListing.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {
namespace {

int OpenFolderAt(int parent, const char* name, int extraFlags) {
    return ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags);
}

TEntryKind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode))
        return TEntryKind::Folder;
    if (S_ISREG(mode))
        return TEntryKind::RegularFile;
    return TEntryKind::Other;
}

TEntryKind KindOfDirentType(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return TEntryKind::Folder;
    case DT_REG:
        return TEntryKind::RegularFile;
    case DT_UNKNOWN:
        return TEntryKind::Unknown;
    default:
        return TEntryKind::Other;
    }
}

TFileStatus StatusOf(const struct stat& st) {
    TFileStatus status;
    status.Kind = KindOfMode(st.st_mode);
    status.Id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    status.Size = static_cast<int64_t>(st.st_size);
    status.ModifiedUnixSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    status.Links = static_cast<uint64_t>(st.st_nlink);
    return status;
}

} // namespace

std::optional<TFileStatus> LinkStatus(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return StatusOf(st);
}

TDirectory::TDirectory(TDirectory&& other) noexcept
    : FStream(std::exchange(other.FStream, nullptr)) {}

TDirectory& TDirectory::operator=(TDirectory&& other) noexcept {
    if (this != &other) {
        if (FStream)
            ::closedir(FStream);
        FStream = std::exchange(other.FStream, nullptr);
    }
    return *this;
}

TDirectory::~TDirectory() {
    if (FStream)
        ::closedir(FStream);
}

int TDirectory::Descriptor() const {
    return ::dirfd(FStream);
}

std::optional<TDirectory> TDirectory::FromDescriptor(int descriptor) {
    if (descriptor < 0)
        return std::nullopt;
    DIR* stream = ::fdopendir(descriptor);
    if (!stream) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return std::nullopt;
    }
    return TDirectory(stream);
}

std::optional<TDirectory> TDirectory::Open(const std::string& path) {
    return FromDescriptor(OpenFolderAt(AT_FDCWD, path.c_str(), 0));
}

std::optional<TDirectory> TDirectory::OpenChild(const char* name) const {
    return FromDescriptor(OpenFolderAt(Descriptor(), name, O_NOFOLLOW));
}

std::optional<TFileStatus> TDirectory::Status() const {
    struct stat st;
    if (::fstat(Descriptor(), &st) != 0)
        return std::nullopt;
    return StatusOf(st);
}

std::optional<TFileStatus> TDirectory::EntryStatus(const char* name) const {
    struct stat st;
    if (::fstatat(Descriptor(), name, &st, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) != 0)
        return std::nullopt;
    return StatusOf(st);
}

bool TDirectory::ReadEntries(const std::function<bool(const char*, TEntryKind)>& entry) {
    // readdir tells a failure from the end only by errno.
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(FStream);
        if (!item)
            return errno == 0;
        const char* name = item->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        if (!entry(name, KindOfDirentType(item->d_type)))
            return true;
    }
}

} // namespace quorvane
