#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvane {

// One file to store in an archive, under the entry name given (its path, without a leading "/").
struct TZipSource {
    std::string FileName;
    std::string EntryName;
};

// What the written archive holds for one source, read back after writing.
struct TZipEntryReadBack {
    // Why the file was not stored or does not read back whole; empty when it does.
    std::string Error;
    int64_t Size = 0; // the bytes the entry decompresses to
    uint32_t Crc = 0; // the entry's CRC-32, which the data matched while it was read back
};

struct TZipAddOutcome {
    // Why the archive could not be opened, written or read back. When set, no source counts as
    // stored: the archive on disk is the one that was there before (or none).
    std::string ArchiveError;
    std::vector<TZipEntryReadBack> Entries; // one per source, in order
};

inline constexpr const char* kAlreadyInArchiveText = "already in the archive";

// Adds the files to the zip archive, creating it when missing. An entry of the same name
// already in the archive is never replaced (its file may be gone by now): that source fails with
// kAlreadyInArchiveText. The archive is written to a temporary file beside it and renamed into
// place, flushed to disk with its folder, then opened again and every new entry read through
// to check its data against its CRC-32. Names that are not valid UTF-8 are stored as their raw
// bytes. `pump` is called now and then while the archive is written.
TZipAddOutcome AddFilesToZip(const std::string& archive, const std::vector<TZipSource>& sources,
                             const std::function<void()>& pump = {});

} // namespace quorvane
