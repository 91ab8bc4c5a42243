#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quorvane {

// How reading a whole file ended: Ok(), stopped on request before the end, or a message that
// names the file and says what failed.
struct TFileReadOutcome {
    std::string Error;
    bool Stopped = false;
    bool Ok() const { return Error.empty() && !Stopped; }
};

using TBlockConsumer = std::function<void(const uint8_t* block, std::size_t count)>;
// Asked before every block: once it says yes, reading ends there. An empty one never does. A
// large file takes seconds to read, and a cancel must not wait for its end.
using TStopRequested = std::function<bool()>;

// Reads a regular file from its start to its size (taken afresh before every block, so a file
// that shrinks meanwhile ends at its new size) and hands the bytes to `consume` block by block,
// one buffer per file. Fails when the file cannot be opened, is not a regular file (a FIFO
// would block for ever), or a read fails or meets the end before the size is reached.
// Exceptions thrown by `consume` pass through; the file is closed on every path.
TFileReadOutcome ReadFileBlocks(const std::string& fileName, const TBlockConsumer& consume,
                                const TStopRequested& stopped = {});

// Reads the first bytes of a regular file, as many as `buffer` holds or the file's size if that is
// smaller, into `buffer`, and sets `count` to how many that is. Fails as ReadFileBlocks does.
TFileReadOutcome ReadFileHead(const std::string& fileName, std::span<uint8_t> buffer,
                              std::size_t& count);

// Whether two files hold the same bytes: both regular, of one size, each read to its end without
// a failure, equal byte for byte. Reading stops at the first difference. False also when either
// cannot be read, or when `stopped` ended the reading; reading each file alone then tells what is
// wrong with it.
bool FilesHoldSameBytes(const std::string& first, const std::string& second,
                        const TStopRequested& stopped = {});

// How many bytes these functions have read in this process, on every thread: a front end samples it
// to show how much content comparison has read.
uint64_t FileBytesReadSoFar();

} // namespace quorvane
