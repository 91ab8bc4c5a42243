#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

#include "platform/AtomicFileWriter.h"
#include "platform/FileDescriptor.h"

namespace quorvane {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& fileName, int error) {
    throw std::runtime_error(what + " " + fileName + ": " + std::strerror(error));
}

} // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view contents) {
    TAtomicFileWriter writer(fileName);
    writer.Write(contents);
    writer.Commit();
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
