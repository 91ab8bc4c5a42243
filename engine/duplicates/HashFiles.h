#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "duplicates/CompareMode.h"
#include "search/FilList.h"

namespace quorvane {

// Calls `work` with every index below `count`, on a few threads at once (reading several files
// keeps a fast disk busy and spreads the hashing over the cores); each index is taken by one of
// them. `stopped` is asked before each index; once it says yes no further index is started, and
// the call returns when the ones under way are done. A failure thrown by `work` stops the others
// from starting more and is rethrown after every thread has ended.
void ReadInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                    const std::function<bool()>& stopped);

// Sets the checksum of every file to FileCheckSum of its full name under the mode, replacing
// any it had, with ReadInParallel. A failure to read a file is recorded as an unreadable checksum
// by FileCheckSum; other failures are rethrown.
void ComputeChecksums(std::span<TFile* const> files, TCompareMode mode,
                      const std::function<bool()>& stopped);

} // namespace quorvane
