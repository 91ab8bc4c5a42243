#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace quorvane {

// How reading a whole file ended: Ok(), or a message that names the file and says what failed.
struct TFileReadOutcome {
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

using TBlockConsumer = std::function<void(const uint8_t* block, std::size_t count)>;

// Reads a regular file from its start to its size (taken afresh before every block, so a file
// that shrinks meanwhile ends at its new size) and hands the bytes to `consume` block by block,
// one buffer per file. Fails when the file cannot be opened, is not a regular file (a FIFO
// would block for ever), or a read fails or meets the end before the size is reached.
// Exceptions thrown by `consume` pass through; the file is closed on every path.
TFileReadOutcome ReadFileBlocks(const std::string& fileName, const TBlockConsumer& consume);

// How many bytes ReadFileBlocks has read in this process, on every thread: a front end samples it
// to show how much content comparison has read.
uint64_t FileBytesReadSoFar();

} // namespace quorvane
