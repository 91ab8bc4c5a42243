#pragma once

#include <functional>
#include <span>

#include "duplicates/CompareMode.h"
#include "search/FilList.h"

namespace quorvane {

// Sets the checksum of every file to FileCheckSum of its full name under the mode, replacing
// any it had. Files are read on a few threads at once (reading several files keeps a fast disk
// busy and spreads the hashing over the cores); each file is read by one of them.
// `stopped` is asked before each file; once it says yes no further file is started, and the
// call returns when the files being read are done. A failure other than reading a file (which
// FileCheckSum records as an unreadable checksum) is rethrown after every thread has ended.
void ComputeChecksums(std::span<TFile* const> files, TCompareMode mode,
                      const std::function<bool()>& stopped);

} // namespace quorvane
