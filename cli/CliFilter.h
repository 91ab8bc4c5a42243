#pragma once

#include "CliOptions.h"
#include "results/ResultView.h"

namespace quorvane::cli {

// The row filter the command line asks for, made ready before the search starts so that a bad
// filter stops the run early: none (the empty predicate), a stored filter named by --filter, read
// from the Filters section of the user's configuration file without writing to it (the five
// default filters count as stored when the file lacks them), or the criteria of --filter-hex.
// Throws TFilterError, naming the filter, when it cannot be read or used.
TRowPredicate CliFilter(const TCliOptions& options);

} // namespace quorvane::cli
