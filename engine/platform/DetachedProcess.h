#pragma once

#include <string>
#include <vector>

namespace quorvane {

// Starts a program that lives on by itself: it is not our child (no zombie, not ended with us)
// and gets a session of its own. `arguments` is its argv: the first is the program, a path or a
// name looked up in PATH. Each argument reaches the program byte for byte, as one argument: no
// shell sees them, and names that are not UTF-8 pass unchanged.
//
// Returns 0 once the program runs, else the errno that says why it could not be started
// (ENOENT for a program that is not there, EACCES for one that may not be run ...).
int StartDetached(const std::vector<std::string>& arguments);

} // namespace quorvane
