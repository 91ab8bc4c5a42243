#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "results/FilterError.h"
#include "results/FilterTree.h"

namespace quorvane {

// The named result filters of the configuration file's Filters section: each key a filter's name,
// its value the filter's criteria stream as hex text. The order of the keys is the order of the
// Filter menu; a new name goes at the end. Each call opens the file, and a write replaces it at
// once (the filters are not kept for the end of the run).

std::vector<std::string> StoredFilterNames(const std::string& configFile);

// The criteria stored under `name` (compared without regard to case). Throws TFilterError whose
// message names the filter and says what is wrong: no such filter, no value, or a value that is
// not one well-formed criteria stream (with the position where reading failed).
TFilterGroup LoadStoredFilter(const std::string& configFile, std::string_view name);

// As LoadStoredFilter, for a reader that never writes the file (the command line): a default
// filter that the file lacks, or holds empty, reads as its default value, as it will once the
// window's next start has written it.
TFilterGroup LoadStoredFilterOrDefault(const std::string& configFile, std::string_view name);

// Writes the criteria under `name`. Throws TFilterError, writing nothing, when the criteria need
// more than the configuration file can read back (the message says how many bytes too many), and
// TIniWriteError when the file cannot be written.
void StoreFilter(const std::string& configFile, std::string_view name,
                 const TFilterGroup& criteria);

// Removes the names from the section; names not there are passed over. Throws TIniWriteError when
// the file cannot be written.
void DeleteStoredFilters(const std::string& configFile, const std::vector<std::string>& names);

// The error of a stored filter that cannot be read or used, with the filter's name in front.
TFilterError StoredFilterError(std::string_view name, const TFilterError& error);

} // namespace quorvane
