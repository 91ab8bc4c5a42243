#pragma once

#include <string>

namespace quorvane {

// Opens a file by its full path as open(2) does, also when the path is longer than the system's
// path limit (a walk finds such files deep down): the path is then opened a stretch of folders
// at a time, each stretch relative to the folder the one before opened. Returns the descriptor,
// or -1 with errno set.
int OpenLongPath(const std::string& path, int flags);

} // namespace quorvane
