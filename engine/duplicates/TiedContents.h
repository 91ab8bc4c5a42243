#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "duplicates/CompareMode.h"
#include "search/FilList.h"

namespace quorvane {

// Files whose keys tie under a group order: their contents decide their order and groups.
using TTiedRun = std::span<TFile* const>;

// How many bytes from its start a file is first told apart by.
constexpr std::size_t HeadSize = 4096;

// Gives every file of the runs what ordering its run by content needs, under a compare mode other
// than cmNone, reading as little as that allows:
// - a file of up to HeadSize bytes gets its checksum: reading its start reads all of it;
// - a larger file that shares its size and its first HeadSize bytes with no other file of its run
//   can match none of them: it gets the unmatched mark and is read no further;
// - every other file gets its checksum, but of files found the same byte for byte only one is
//   hashed and the others take its checksum (comparing bytes costs far less than hashing them).
// A known checksum is kept and stands for its file's contents; runs whose files all have one are
// not read. A file that cannot be read gets the unreadable checksum, as from FileCheckSum.
// Threading: files are read with ReadInParallel; `stopped` as there, and files not reached keep
// what they had.
void GiveTiedFilesChecksums(std::span<const TTiedRun> runs, TCompareMode mode,
                            const std::function<bool()>& stopped);

} // namespace quorvane
