#pragma once

#include <atomic>
#include <ostream>

#include "CliOptions.h"

namespace quorvane::cli {

enum TExitStatus : int { esRan = 0, esUsage = 1, esFailure = 2, esInterrupted = 130 };

// Runs one search (or files-list load), sorts and classifies it through the pipeline controller,
// and prints the groups of the rows that pass the filter asked for (every row without one) to
// `out`; messages, progress and the summary go to `err`. Setting
// `interrupted` from any thread (a Ctrl-C handler) cancels the run through the same path as the
// GUI's Search action while busy.
int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& interrupted, bool progressOnTerminal);

} // namespace quorvane::cli
