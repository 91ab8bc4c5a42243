#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace quorvane {
namespace {

std::string FolderOf(const std::string& fileName) {
    const auto slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string fileName)
    : FFileName(std::move(fileName)), FTemporary(FFileName + ".XXXXXX"),
      FBuffer(new char[kBufferSize]) {
    FFd = ::mkstemp(FTemporary.data());
    if (FFd < 0) {
        const int error = errno;
        delete[] FBuffer;
        Fail(error);
    }
    // mkstemp makes the file private: keep the permissions of the file being replaced, and give a
    // new file the usual ones.
    struct stat existing {};
    ::fchmod(FFd, ::stat(FFileName.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    if (FFd >= 0) {
        ::close(FFd);
        ::unlink(FTemporary.c_str());
    }
    delete[] FBuffer;
}

void TAtomicFileWriter::Fail(int error) const {
    throw std::runtime_error("Unable to write to " + FFileName + ": " + std::strerror(error));
}

void TAtomicFileWriter::Write(std::string_view bytes) {
    if (bytes.size() > kBufferSize - FUsed) {
        Flush();
        if (bytes.size() >= kBufferSize) {
            Overwrite(FFlushed, bytes);
            FFlushed += bytes.size();
            return;
        }
    }
    std::memcpy(FBuffer + FUsed, bytes.data(), bytes.size());
    FUsed += bytes.size();
}

void TAtomicFileWriter::Flush() {
    const std::size_t used = FUsed;
    FUsed = 0;
    Overwrite(FFlushed, std::string_view(FBuffer, used));
    FFlushed += used;
}

void TAtomicFileWriter::Overwrite(uint64_t offset, std::string_view bytes) {
    if (offset + bytes.size() > FFlushed && FUsed > 0)
        Flush();
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(FFd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<uint64_t>(written);
    }
}

void TAtomicFileWriter::Commit() {
    Flush();
    if (::fsync(FFd) != 0)
        Fail(errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(FTemporary.c_str());
        Fail(error);
    }
    if (::rename(FTemporary.c_str(), FFileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(FTemporary.c_str());
        Fail(error);
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    TFileDescriptor folder(::open(FolderOf(FFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

} // namespace quorvane
