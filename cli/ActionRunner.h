#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "CliOptions.h"
#include "TerminalView.h"
#include "app/PipelineController.h"
#include "app/Settings.h"

namespace quorvane::cli {

// Before the search of a run with an action: takes the protected folders and BlockDelete from the
// user's configuration file (read, never written), as the window would classify with them.
// Returns why the action cannot be done at all, or empty: the file's place is unknown, or
// BlockDelete forbids acting on files whose contents the run does not compare.
std::string PrepareAction(const TActionRequest& action, TSettings& settings);

// After classification: checks every file of each group but the first in display order (rows
// that may not be checked stay unchecked), plans the action and, unless it is a dry run, carries
// it out. stdout gets one line per step (planned, or done); files not acted on and the summary go
// to `err`. A plan that would leave a group without a copy is refused whole. Ctrl-C (`interrupted`)
// stops the action between two files. Returns the exit status.
int RunAction(TPipelineController& controller, TTerminalView& view, const TCliOptions& options,
              std::ostream& out, std::ostream& err, const std::atomic<bool>& interrupted);

} // namespace quorvane::cli
