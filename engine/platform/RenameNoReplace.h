#pragma once

#include <string>

namespace quorvane {

// Renames `from` to `to` within one file system, failing with EEXIST when `to` exists: a plain
// rename would silently replace a file that appeared at the target since it was looked at.
// Returns 0 or the errno value.
int RenameNoReplace(const std::string& from, const std::string& to);

} // namespace quorvane
