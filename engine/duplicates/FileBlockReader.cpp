#include "duplicates/FileBlockReader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace quorvane {

namespace {

// Large enough that system calls cost little next to the hashing, small enough to stay in the
// processor's cache between the copy out of the page cache and the hashing.
constexpr std::size_t kBlockSize = 256 * 1024;
// Small files get a buffer of their size: no need to touch a large one.
constexpr std::size_t kSmallestBuffer = 4096;

TFileReadOutcome Failure(const char* what, const std::string& fileName, const std::string& why) {
    return {std::string(what) + " \"" + fileName + "\": " + why};
}

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

std::atomic<uint64_t> bytesReadSoFar{0};

} // namespace

uint64_t FileBytesReadSoFar() {
    return bytesReadSoFar.load(std::memory_order_relaxed);
}

TFileReadOutcome ReadFileBlocks(const std::string& fileName, const TBlockConsumer& consume) {
    const TFileDescriptor file(
        ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        return Failure("Cannot open file", fileName, ErrorText(errno));

    struct stat info;
    if (::fstat(file.Get(), &info) != 0)
        return Failure("Cannot read file", fileName, ErrorText(errno));
    if (!S_ISREG(info.st_mode))
        return Failure("Cannot read file", fileName, "not a regular file");
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    const std::size_t bufferSize = std::clamp<std::size_t>(static_cast<std::size_t>(info.st_size),
                                                           kSmallestBuffer, kBlockSize);
    const auto buffer = std::make_unique_for_overwrite<uint8_t[]>(bufferSize);
    for (off_t position = 0; position < info.st_size;) {
        const ssize_t count = ::read(file.Get(), buffer.get(), bufferSize);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return Failure("Cannot read file", fileName, ErrorText(errno));
        }
        if (count == 0)
            return Failure("Cannot read file", fileName, "it ended before its full size was read");
        consume(buffer.get(), static_cast<std::size_t>(count));
        position += count;
        bytesReadSoFar.fetch_add(static_cast<uint64_t>(count), std::memory_order_relaxed);
        if (::fstat(file.Get(), &info) != 0)
            return Failure("Cannot read file", fileName, ErrorText(errno));
    }
    return {};
}

} // namespace quorvane
