#include "duplicates/FileBlockReader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"
#include "platform/LongPathOpen.h"

namespace quorvane {

namespace {

// Large enough that system calls cost little next to the hashing, small enough to stay in the
// processor's cache between the copy out of the page cache and the hashing.
constexpr std::size_t kBlockSize = 256 * 1024;
// Small files get a buffer of their size: no need to touch a large one.
constexpr std::size_t kSmallestBuffer = 4096;
// Comparing only copies and compares bytes: smaller blocks cost nothing and keep two buffers small.
constexpr std::size_t kCompareBlockSize = 64 * 1024;

TFileReadOutcome Failure(const char* what, const std::string& fileName, const std::string& why) {
    return {std::string(what) + " \"" + fileName + "\": " + why};
}

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

std::atomic<uint64_t> bytesReadSoFar{0};

void CountBytesRead(std::size_t count) {
    bytesReadSoFar.fetch_add(static_cast<uint64_t>(count), std::memory_order_relaxed);
}

int OpenForReading(const std::string& fileName) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused as not regular anyway.
    // A file deep below its include folder may have a full name longer than the path limit.
    return OpenLongPath(fileName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

// Opens the file, checks that it is a regular file and takes its status into `info`.
TFileReadOutcome OpenRegularFile(const std::string& fileName, TFileDescriptor& file,
                                 struct stat& info) {
    if (file.Get() < 0)
        return Failure("Cannot open file", fileName, ErrorText(errno));
    if (::fstat(file.Get(), &info) != 0)
        return Failure("Cannot read file", fileName, ErrorText(errno));
    if (!S_ISREG(info.st_mode))
        return Failure("Cannot read file", fileName, "not a regular file");
    return {};
}

// Reads until `count` bytes are in or the file ends: the number read, or -1 with errno set.
ssize_t ReadUpTo(int fd, uint8_t* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, buffer + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    CountBytesRead(done);
    return static_cast<ssize_t>(done);
}

bool AtEnd(int fd) {
    uint8_t byte;
    return ReadUpTo(fd, &byte, 1) == 0;
}

} // namespace

uint64_t FileBytesReadSoFar() {
    return bytesReadSoFar.load(std::memory_order_relaxed);
}

TFileReadOutcome ReadFileBlocks(const std::string& fileName, const TBlockConsumer& consume,
                                const TStopRequested& stopped) {
    TFileDescriptor file(OpenForReading(fileName));
    struct stat info;
    if (TFileReadOutcome opened = OpenRegularFile(fileName, file, info); !opened.Ok())
        return opened;
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    const std::size_t bufferSize = std::clamp<std::size_t>(static_cast<std::size_t>(info.st_size),
                                                           kSmallestBuffer, kBlockSize);
    const auto buffer = std::make_unique_for_overwrite<uint8_t[]>(bufferSize);
    for (off_t position = 0; position < info.st_size;) {
        if (stopped && stopped()) {
            TFileReadOutcome outcome;
            outcome.Stopped = true;
            return outcome;
        }
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
        CountBytesRead(static_cast<std::size_t>(count));
        if (::fstat(file.Get(), &info) != 0)
            return Failure("Cannot read file", fileName, ErrorText(errno));
    }
    return {};
}

TFileReadOutcome ReadFileHead(const std::string& fileName, std::span<uint8_t> buffer,
                              std::size_t& count) {
    TFileDescriptor file(OpenForReading(fileName));
    struct stat info;
    if (TFileReadOutcome opened = OpenRegularFile(fileName, file, info); !opened.Ok())
        return opened;
    const std::size_t wanted =
        std::min(buffer.size(), static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
    const ssize_t got = ReadUpTo(file.Get(), buffer.data(), wanted);
    if (got < 0)
        return Failure("Cannot read file", fileName, ErrorText(errno));
    if (static_cast<std::size_t>(got) < wanted)
        return Failure("Cannot read file", fileName, "it ended before its full size was read");
    count = wanted;
    return {};
}

bool FilesHoldSameBytes(const std::string& first, const std::string& second,
                        const TStopRequested& stopped) {
    TFileDescriptor a(OpenForReading(first)), b(OpenForReading(second));
    struct stat infoA, infoB;
    if (!OpenRegularFile(first, a, infoA).Ok() || !OpenRegularFile(second, b, infoB).Ok() ||
        infoA.st_size != infoB.st_size)
        return false;
    if (infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino)
        return true; // two names of one file
    ::posix_fadvise(a.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    ::posix_fadvise(b.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    const std::size_t blockSize = std::clamp<std::size_t>(static_cast<std::size_t>(infoA.st_size),
                                                          kSmallestBuffer, kCompareBlockSize);
    const auto bufferA = std::make_unique_for_overwrite<uint8_t[]>(blockSize);
    const auto bufferB = std::make_unique_for_overwrite<uint8_t[]>(blockSize);
    for (off_t left = infoA.st_size; left > 0;) {
        if (stopped && stopped())
            return false;
        const auto wanted =
            static_cast<ssize_t>(std::min(blockSize, static_cast<std::size_t>(left)));
        if (ReadUpTo(a.Get(), bufferA.get(), static_cast<std::size_t>(wanted)) != wanted ||
            ReadUpTo(b.Get(), bufferB.get(), static_cast<std::size_t>(wanted)) != wanted ||
            std::memcmp(bufferA.get(), bufferB.get(), static_cast<std::size_t>(wanted)) != 0)
            return false;
        left -= wanted;
    }
    // A file that grew meanwhile is not shown to be the same as the other.
    return AtEnd(a.Get()) && AtEnd(b.Get());
}

} // namespace quorvane
