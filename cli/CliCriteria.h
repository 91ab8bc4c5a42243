#pragma once

#include <string>
#include <vector>

#include "CliOptions.h"
#include "search/SearchCriteria.h"

namespace quorvane::cli {

// The criteria of a run: the profile's when one is named, then what the command line adds or
// overrides. Folders named on the command line are added to the profile's; only when neither
// names a folder does a profile stand for every fixed drive (`fixedDriveRoots`), as it does in
// the window. Throws std::runtime_error, before any work, for a profile that cannot be read as
// one or whole (entries past what its lists can hold) and for a named folder that does not
// exist or is not a folder.
SearchCriteria CriteriaFor(const TCliOptions& options,
                           const std::vector<std::string>& fixedDriveRoots);

} // namespace quorvane::cli
