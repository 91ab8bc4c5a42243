#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AtomicFileWriter.h"

namespace quorvane {

// A compound document (the OLE2 storage of .xls files) holding one stream, written as it comes:
// a header sector kept blank until the end, the stream's bytes in consecutive sectors, then the
// directory and the sector allocation tables, which follow from the stream's length alone.
// Version 3, 512-byte sectors; a stream shorter than the 4096-byte mini-stream cutoff is padded
// to it, as readers look for shorter streams in the (absent) mini stream.
class TCompoundFileWriter {
public:
    TCompoundFileWriter(TAtomicFileWriter& out, std::u16string streamName);

    void Write(std::string_view bytes) { FOut.Write(bytes); }
    // Position in the stream of the next byte written.
    uint64_t StreamSize() const { return FOut.Size() - kSectorSize; }
    // Replaces bytes of the stream already written.
    void Patch(uint64_t streamOffset, std::string_view bytes) {
        FOut.Overwrite(kSectorSize + streamOffset, bytes);
    }
    // Writes the directory, the allocation tables and the header.
    void Finish();

    static constexpr uint32_t kSectorSize = 512;

private:
    TAtomicFileWriter& FOut;
    std::u16string FStreamName;
};

} // namespace quorvane
