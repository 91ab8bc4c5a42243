#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// Writes a file of any size through a fixed buffer so that readers see either the old file or the
// whole new one: the bytes go to a temporary file beside the target, and Commit flushes them to
// disk and renames the temporary file over the target. A writer destroyed before Commit removes
// its temporary file and leaves the target as it was.
//
// Errors: every failure throws std::runtime_error naming the target file and the reason.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string fileName);
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
    ~TAtomicFileWriter();

    void Write(std::string_view bytes);
    void Write(char byte) {
        if (FUsed == kBufferSize)
            Flush();
        FBuffer[FUsed++] = byte;
    }
    // Bytes written so far, the buffered ones included.
    uint64_t Size() const { return FFlushed + FUsed; }
    // Replaces bytes already written (a header whose values are known only at the end).
    void Overwrite(uint64_t offset, std::string_view bytes);
    void Commit();

    const std::string& FileName() const { return FFileName; }

private:
    static constexpr std::size_t kBufferSize = 1 << 18;

    void Flush();
    [[noreturn]] void Fail(int error) const;

    std::string FFileName;
    std::string FTemporary;
    int FFd = -1;
    char* FBuffer;
    std::size_t FUsed = 0;
    uint64_t FFlushed = 0;
};

} // namespace quorvane
