#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace quorvane {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& fileName, int error) {
    throw std::runtime_error(what + " " + fileName + ": " + std::strerror(error));
}

void WriteAll(int fd, std::string_view data, const std::string& fileName) {
    while (!data.empty()) {
        ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail("Unable to write to", fileName, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string FolderOf(const std::string& fileName) {
    const auto slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

} // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view contents) {
    std::string temporary = fileName + ".XXXXXX";
    TFileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.Get() < 0)
        Fail("Unable to write to", fileName, errno);
    try {
        // mkstemp makes the file private: keep the permissions of the file being replaced, and
        // give a new file the usual ones.
        struct stat existing {};
        ::fchmod(fd.Get(),
                 ::stat(fileName.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
        WriteAll(fd.Get(), contents, fileName);
        if (::fsync(fd.Get()) != 0)
            Fail("Unable to write to", fileName, errno);
        if (::close(fd.Release()) != 0)
            Fail("Unable to write to", fileName, errno);
        if (::rename(temporary.c_str(), fileName.c_str()) != 0)
            Fail("Unable to write to", fileName, errno);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    TFileDescriptor folder(::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

std::string ReadWholeFile(const std::string& fileName) {
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        Fail("Unable to read", fileName, errno);
    std::string contents;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail("Unable to read", fileName, errno);
        }
        if (got == 0)
            return contents;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace quorvane
